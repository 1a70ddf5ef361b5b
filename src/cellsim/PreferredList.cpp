#include <cellsim/PreferredList.h>

namespace cellsim {

PreferredList::PreferredList()
{
    m_entries[1] = PreferredEntry{"46000", true, false, true};
    m_entries[2] = PreferredEntry{"46002", true, false, false};
    m_entries[3] = PreferredEntry{"46007", false, false, true};
}

Outcome PreferredList::write(std::optional<int> index, const PreferredEntry& entry)
{
    if (!index) {
        for (int free = 1; free <= Capacity; ++free) {
            if (m_entries.count(free) == 0) {
                index = free;
                break;
            }
        }
        if (!index) {
            return CmeError::MemoryFull;
        }
    }
    if (*index < 1 || *index > Capacity) {
        return CmeError::InvalidIndex;
    }
    m_entries[*index] = entry;
    return std::nullopt;
}

Outcome PreferredList::erase(int index)
{
    if (index < 1 || index > Capacity) {
        return CmeError::InvalidIndex;
    }
    m_entries.erase(index);
    return std::nullopt;
}

}  // namespace cellsim
