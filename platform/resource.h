#pragma once
// Program resources: files turned into a table of (type, name, bytes) at build time and linked
// into the program (kx_embed_resources in cmake/embed_resources.cmake), found by type and name.
#include <cstddef>
#include <cstdint>

namespace platform {

struct Resource {
    const char* type;
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};

// The resource of that type and name linked into the program, or null (also for null arguments).
// Type and name compare without regard to ASCII case, as the old platform's resource names did.
const Resource* find_resource(const char* type, const char* name);

// A table of resources; every table with static storage registers itself before main runs.
// The generated resource sources define one each; the entries must outlive the table.
class ResourceTable {
  public:
    ResourceTable(const Resource* entries, std::size_t count);
    ResourceTable(const ResourceTable&) = delete;
    ResourceTable& operator=(const ResourceTable&) = delete;

  private:
    friend const Resource* find_resource(const char* type, const char* name);
    const Resource* entries_;
    std::size_t count_;
    const ResourceTable* next_;
};

} // namespace platform
