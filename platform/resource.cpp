#include "platform/resource.h"

namespace platform {

namespace {

// Head of the list of registered tables. A function-local static, so that tables constructed
// during static initialisation of other files find it ready whatever the order.
const ResourceTable*& table_list() {
    static const ResourceTable* head = nullptr;
    return head;
}

bool same_text(const char* a, const char* b) {
    auto lower = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
    };
    for (;; ++a, ++b) {
        if (lower(static_cast<unsigned char>(*a)) != lower(static_cast<unsigned char>(*b))) return false;
        if (*a == '\0') return true;
    }
}

} // namespace

ResourceTable::ResourceTable(const Resource* entries, std::size_t count)
    : entries_(entries), count_(count), next_(table_list()) {
    table_list() = this;
}

const Resource* find_resource(const char* type, const char* name) {
    if (type == nullptr || name == nullptr) return nullptr;
    for (const ResourceTable* table = table_list(); table != nullptr; table = table->next_)
        for (std::size_t i = 0; i < table->count_; ++i)
            if (same_text(table->entries_[i].type, type) && same_text(table->entries_[i].name, name))
                return &table->entries_[i];
    return nullptr;
}

} // namespace platform
