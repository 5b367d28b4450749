#include "browse/textbuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

CTextBuffer::~CTextBuffer() {
    std::free(m_data);
}

CTextBuffer::CTextBuffer(CTextBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)) {}

CTextBuffer& CTextBuffer::operator=(CTextBuffer&& other) noexcept {
    if (this != &other) {
        std::free(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

void CTextBuffer::Append(std::string_view text) {
    if (text.empty()) {
        return;
    }
    if (text.size() > m_capacity - m_size) {
        const std::size_t capacity = std::max({m_size + text.size(), 2 * m_capacity, std::size_t{4096}});
        void* grown = std::realloc(m_data, capacity);
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        m_data = static_cast<char*>(grown);
        m_capacity = capacity;
    }
    std::memcpy(m_data + m_size, text.data(), text.size());
    m_size += text.size();
}
