#pragma once
// The fields of the current sentence (linefields): views into the line, numbered from 0.
#include <string>
#include <string_view>
#include <vector>

#include "model/strutil.h"

namespace brenvik {

class Fields {
public:
    // Splits by the comma-text rules; the views stay valid until the next Split.
    void Split(std::string_view text) { SplitCommaText(text, v_, arena_); }
    // Room for n fields before the first Split needs to grow.
    void Reserve(std::size_t n) { v_.reserve(n); }

    // A field beyond the last one is a missing field: ConvertError.
    std::string_view at(std::size_t i) const {
        if (i >= v_.size()) throw ConvertError();
        return v_[i];
    }
    std::string_view operator[](std::size_t i) const { return at(i); }
    // The field, or empty text when there is no such field (for tests that may look past the end).
    std::string_view get(std::size_t i) const { return i < v_.size() ? v_[i] : std::string_view{}; }
    std::size_t size() const { return v_.size(); }
    const std::vector<std::string_view>& all() const { return v_; }

    // Fields from `first` on, joined by the comma-text rules.
    std::string Join(std::size_t first = 0) const { return JoinCommaText(v_, first); }
    void AppendJoined(std::string& out, std::size_t first = 0) const { AppendCommaText(out, v_, first); }

private:
    std::vector<std::string_view> v_;
    std::string arena_;
};

}  // namespace brenvik
