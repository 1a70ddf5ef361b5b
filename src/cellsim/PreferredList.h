#pragma once

#include <map>
#include <optional>
#include <string>

#include <cellsim/Reply.h>

namespace cellsim {

// One entry of the preferred-operator list on the SIM, with the access
// technologies it applies to.
struct PreferredEntry {
    std::string numeric;
    bool gsm = false;
    bool gsmCompact = false;
    bool utran = false;
};

// The preferred-operator list (+CPOL), indexed from 1, and the selector of
// the list in use (+CPLS).
class PreferredList {
public:
    static constexpr int Capacity = 16;

    PreferredList();

    const std::map<int, PreferredEntry>& entries() const { return m_entries; }
    // Writes an entry at `index`, or at the first free index when none is given.
    Outcome write(std::optional<int> index, const PreferredEntry& entry);
    // Deletes the entry at `index`; an empty index is fine.
    Outcome erase(int index);

    int format() const { return m_format; }
    void setFormat(int format) { m_format = format; }
    int selector() const { return m_selector; }
    void setSelector(int selector) { m_selector = selector; }

private:
    std::map<int, PreferredEntry> m_entries;
    int m_format = 2;
    int m_selector = 0;
};

}  // namespace cellsim
