// \brief Property lookup in a form object.
#include "crash/settings/form_object.h"

namespace kestrix {

const PropertyRecord* FormObject::FindProperty(std::string_view name) const {
    for (auto it = Properties.rbegin(); it != Properties.rend(); ++it) {
        if (SameName(it->Name, name)) {
            return &*it;
        }
    }
    return nullptr;
}

}  // namespace kestrix
