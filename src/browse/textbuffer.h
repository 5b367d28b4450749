#pragma once

#include <cstddef>
#include <string_view>

// Texts kept end to end in one block of memory. The block grows with realloc, which moves a
// large block by remapping its pages instead of copying them, so a view of many long names never
// holds its texts twice while it grows.
class CTextBuffer {
public:
    CTextBuffer() = default;
    ~CTextBuffer();
    CTextBuffer(CTextBuffer&& other) noexcept;
    CTextBuffer& operator=(CTextBuffer&& other) noexcept;
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;

    // Throws std::bad_alloc when there is no room.
    void Append(std::string_view text);
    std::size_t Size() const { return m_size; }
    std::string_view View(std::size_t begin, std::size_t end) const { return {m_data + begin, end - begin}; }

private:
    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};
