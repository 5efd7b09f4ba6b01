#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

namespace store {

// Bytes in one block of the C heap, grown with realloc. A large block is a mapping of its own
// (see RowArena), which realloc moves by remapping its pages: growing to tens of megabytes
// neither copies the bytes already there nor touches their pages again, as a std::string's
// doubling into a fresh block does.
class ByteBuffer {
  public:
    ByteBuffer() noexcept = default;
    ~ByteBuffer() { std::free(data_); }
    ByteBuffer(ByteBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    ByteBuffer& operator=(ByteBuffer&& other) noexcept {
        ByteBuffer moved(std::move(other));
        swap(moved);
        return *this;
    }
    ByteBuffer(const ByteBuffer& other) {
        reserve(other.size_);
        append(std::string_view(other.data_, other.size_));
    }
    ByteBuffer& operator=(const ByteBuffer& other) {
        ByteBuffer copy(other);
        swap(copy);
        return *this;
    }

    void swap(ByteBuffer& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

    const char* data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    std::size_t capacity() const noexcept { return capacity_; }

    void clear() noexcept { size_ = 0; }
    void push_back(char c) {
        if (size_ == capacity_) grow(size_ + 1);
        data_[size_++] = c;
    }
    void append(std::string_view bytes) {
        if (bytes.empty()) return;
        if (capacity_ - size_ < bytes.size()) grow(size_ + bytes.size());
        std::memcpy(data_ + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    void reserve(std::size_t capacity) {
        if (capacity > capacity_) resize(capacity);
    }
    void shrinkToFit() noexcept {
        if (size_ == capacity_) return;
        if (size_ == 0) {
            std::free(std::exchange(data_, nullptr));
            capacity_ = 0;
            return;
        }
        if (void* smaller = std::realloc(data_, size_)) {
            data_ = static_cast<char*>(smaller);
            capacity_ = size_;
        }
    }

  private:
    void grow(std::size_t needed) {
        std::size_t capacity = capacity_ < 64 ? 64 : capacity_ + capacity_ / 2;
        resize(capacity < needed ? needed : capacity);
    }
    void resize(std::size_t capacity) {
        void* larger = std::realloc(data_, capacity);
        if (larger == nullptr) throw std::bad_alloc();
        data_ = static_cast<char*>(larger);
        capacity_ = capacity;
    }

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace store
