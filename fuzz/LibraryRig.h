#pragma once

#include <cstddef>
#include <memory>
#include <string>

class PhoneLine;

namespace cellctl::fuzz {

// The whole library as a host sets it up on one PhoneLine: the SIM, operator
// and mode assistors, the HSDPA power assistor over them, and the packet-data
// pair, every one attached, with a callback on every result kind. The
// callbacks read every value they are given (records and the pointers handed
// out included), so a dangling or malformed result shows under the sanitizers.
//
// Host requests are numbered, so that fuzz input can name them: request(n,
// argument) runs request n modulo requestCount(), with the argument as its
// PIN, password, APN, operator name or number.
class LibraryRig {
public:
    explicit LibraryRig(PhoneLine& line);
    ~LibraryRig();

    LibraryRig(const LibraryRig&) = delete;
    LibraryRig& operator=(const LibraryRig&) = delete;

    static std::size_t requestCount();
    void request(std::size_t index, const std::string& argument);

    // Callbacks run so far, all kinds together.
    std::size_t callbacks() const;

    struct Parts;

private:
    std::unique_ptr<Parts> m_parts;
};

}  // namespace cellctl::fuzz
