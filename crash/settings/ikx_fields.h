// \brief IKXFields: an ordered list of named texts (report header, report sections, form inputs,
// extra upload fields), shared by reference between the threads that handle one failure.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// Names compare without regard to letter case. Every operation locks the list by itself; Lock and
// Unlock hold it across several operations (the lock is recursive). The change notification runs
// after every change, with the list still locked.
class IKXFields {
  public:
    virtual ~IKXFields() = default;

    virtual std::size_t Count() const = 0;
    virtual std::string Name(std::size_t index) const = 0;
    virtual std::string Content(std::size_t index) const = 0;
    virtual std::optional<std::size_t> Find(std::string_view name) const = 0;
    // Empty when no item has the name.
    virtual std::string ContentOf(std::string_view name) const = 0;

    // Replaces the content of the first item of that name, or adds an item at the add position
    // (at the end without one).
    virtual void SetContent(std::string_view name, std::string_view content) = 0;
    // An index beyond the end appends.
    virtual void Insert(std::size_t index, std::string_view name, std::string_view content) = 0;
    virtual void Delete(std::size_t index) = 0;
    virtual void Delete(std::string_view name) = 0;

    // The report header keeps its last fields at its end: new items go in before the item at the
    // add position, which moves on past each one, and with every item inserted or deleted before
    // it. None: new items are appended.
    virtual void SetAddPosition(std::optional<std::size_t> position) = 0;
    virtual std::optional<std::size_t> AddPosition() const = 0;

    // A copy of the items and the add position, without the change notification.
    virtual std::shared_ptr<IKXFields> Clone() const = 0;

    virtual void Lock() const = 0;
    virtual void Unlock() const = 0;
    virtual void SetChangeNotification(std::function<void()> changed) = 0;
};

std::shared_ptr<IKXFields> NewFields();

}  // namespace kestrix
