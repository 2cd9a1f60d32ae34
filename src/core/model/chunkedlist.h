#pragma once
// A list that grows in fixed chunks: an item, once added, never moves, so a long load never
// copies the records it already holds, and the memory grows by one chunk at a time.
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace brenvik {

template <class T, std::size_t ChunkSize = 512>
class TChunkedList {
    template <bool Const>
    class Iter {
        using List = std::conditional_t<Const, const TChunkedList, TChunkedList>;

    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Const, const T*, T*>;
        using reference = std::conditional_t<Const, const T&, T&>;

        Iter() = default;
        Iter(List* l, std::size_t i) : l_(l), i_(i) {}
        reference operator*() const { return (*l_)[i_]; }
        pointer operator->() const { return &(*l_)[i_]; }
        Iter& operator++() {
            ++i_;
            return *this;
        }
        Iter operator++(int) {
            Iter t = *this;
            ++i_;
            return t;
        }
        bool operator==(const Iter& o) const { return i_ == o.i_; }

    private:
        List* l_ = nullptr;
        std::size_t i_ = 0;
    };

public:
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    void push_back(T&& v) {
        if (size_ == chunks_.size() * ChunkSize) chunks_.emplace_back().reserve(ChunkSize);
        chunks_.back().push_back(std::move(v));
        ++size_;
    }
    void clear() {
        chunks_.clear();
        size_ = 0;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // Unchecked, as for a vector.
    T& operator[](std::size_t i) { return chunks_[i / ChunkSize][i % ChunkSize]; }
    const T& operator[](std::size_t i) const { return chunks_[i / ChunkSize][i % ChunkSize]; }
    // Checked: std::out_of_range past the end.
    T& at(std::size_t i) {
        if (i >= size_) throw std::out_of_range("List index out of bounds");
        return (*this)[i];
    }
    const T& at(std::size_t i) const {
        if (i >= size_) throw std::out_of_range("List index out of bounds");
        return (*this)[i];
    }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return chunks_.back().back(); }
    const T& back() const { return chunks_.back().back(); }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size_}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

private:
    std::vector<std::vector<T>> chunks_;  // every chunk but the last holds ChunkSize items
    std::size_t size_ = 0;
};

}  // namespace brenvik
