// Header containers. Request headers keep every line in a TMMap; response
// headers are unique by name. Both order names byte-wise (unsigned bytes, a
// prefix before its extensions, case-sensitive), which std::string's own
// comparison already is.
#ifndef NIREVO_INTERFACE_TMMAP_H_
#define NIREVO_INTERFACE_TMMAP_H_

#include <map>
#include <string>

namespace nirevo {

// An ordered multimap whose subscript reads the earliest entry with the key,
// inserting (key, empty value) first when there is none. Entries with equal
// keys stand in the order they were inserted.
template <typename Key, typename Value>
class TMMap : public std::multimap<Key, Value> {
 public:
  Value& operator[](const Key& key) {
    auto first = this->lower_bound(key);
    if (first == this->end() || this->key_comp()(key, first->first)) {
      first = this->emplace_hint(first, key, Value());
    }
    return first->second;
  }
};

using RequestHeaders = TMMap<std::string, std::string>;
using ResponseHeaders = std::map<std::string, std::string>;

}  // namespace nirevo

#endif  // NIREVO_INTERFACE_TMMAP_H_
