// \brief TIKXFields, the implementation of IKXFields.
#include "crash/settings/ikx_fields.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "crash/settings/property_record.h"

namespace kestrix {
namespace {

class TIKXFields final : public IKXFields {
  public:
    std::size_t Count() const override {
        const std::lock_guard lock(m_guard);
        return m_items.size();
    }

    std::string Name(std::size_t index) const override {
        const std::lock_guard lock(m_guard);
        return index < m_items.size() ? m_items[index].first : std::string();
    }

    std::string Content(std::size_t index) const override {
        const std::lock_guard lock(m_guard);
        return index < m_items.size() ? m_items[index].second : std::string();
    }

    std::optional<std::size_t> Find(std::string_view name) const override {
        const std::lock_guard lock(m_guard);
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (SameName(m_items[i].first, name)) {
                return i;
            }
        }
        return std::nullopt;
    }

    std::string ContentOf(std::string_view name) const override {
        const std::lock_guard lock(m_guard);
        const std::optional<std::size_t> index = Find(name);
        return index ? m_items[*index].second : std::string();
    }

    void SetContent(std::string_view name, std::string_view content) override {
        const std::lock_guard lock(m_guard);
        if (const std::optional<std::size_t> index = Find(name)) {
            m_items[*index].second = content;
            Changed();
        } else {
            Insert(m_addPosition.value_or(m_items.size()), name, content);
        }
    }

    void Insert(std::size_t index, std::string_view name, std::string_view content) override {
        const std::lock_guard lock(m_guard);
        index = std::min(index, m_items.size());
        m_items.emplace(m_items.begin() + std::ptrdiff_t(index), name, content);
        if (m_addPosition && index <= *m_addPosition) {
            ++*m_addPosition;
        }
        Changed();
    }

    void Delete(std::size_t index) override {
        const std::lock_guard lock(m_guard);
        if (index < m_items.size()) {
            m_items.erase(m_items.begin() + std::ptrdiff_t(index));
            if (m_addPosition && index < *m_addPosition) {
                --*m_addPosition;
            }
            Changed();
        }
    }

    void Delete(std::string_view name) override {
        const std::lock_guard lock(m_guard);
        if (const std::optional<std::size_t> index = Find(name)) {
            Delete(*index);
        }
    }

    std::shared_ptr<IKXFields> Clone() const override {
        const std::lock_guard lock(m_guard);
        auto copy = std::make_shared<TIKXFields>();
        copy->m_items = m_items;
        copy->m_addPosition = m_addPosition;
        return copy;
    }

    void SetAddPosition(std::optional<std::size_t> position) override {
        const std::lock_guard lock(m_guard);
        m_addPosition = position;
    }

    std::optional<std::size_t> AddPosition() const override {
        const std::lock_guard lock(m_guard);
        return m_addPosition;
    }

    void Lock() const override { m_guard.lock(); }
    void Unlock() const override { m_guard.unlock(); }

    void SetChangeNotification(std::function<void()> changed) override {
        const std::lock_guard lock(m_guard);
        m_changed = std::move(changed);
    }

  private:
    void Changed() const {
        if (m_changed) {
            m_changed();
        }
    }

    mutable std::recursive_mutex m_guard;
    std::vector<std::pair<std::string, std::string>> m_items;
    std::optional<std::size_t> m_addPosition;
    std::function<void()> m_changed;
};

}  // namespace

std::shared_ptr<IKXFields> NewFields() {
    return std::make_shared<TIKXFields>();
}

}  // namespace kestrix
