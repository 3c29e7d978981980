#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace brisko::engine {

// An immutable text that copies share rather than repeat: the folders and backup list of the
// many copies planned in one folder are held once. Reads as a const std::string.
class SharedText {
public:
    SharedText() = default;
    SharedText(std::string text) // NOLINT(google-explicit-constructor): used like a string
        : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}
    SharedText(const char* text) : SharedText(std::string(text)) {} // NOLINT

    const std::string& str() const { return text_ ? *text_ : empty_; }
    operator const std::string&() const { return str(); } // NOLINT
    operator std::string_view() const { return str(); }   // NOLINT
    bool empty() const { return str().empty(); }
    std::size_t size() const { return str().size(); }
    const char* c_str() const { return str().c_str(); }

    friend bool operator==(const SharedText& a, const SharedText& b) {
        return a.text_ == b.text_ || a.str() == b.str();
    }
    friend bool operator==(const SharedText& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const char* b) { return a.str() == b; }

private:
    inline static const std::string empty_;
    std::shared_ptr<const std::string> text_;
};

// Hands out shared texts, the same one for a text met again soon: the copies of one folder
// share its texts without a table of every text ever seen.
class TextShare {
public:
    SharedText share(std::string_view text) {
        for (const SharedText& kept : recent_)
            if (kept == text)
                return kept;
        SharedText made{std::string(text)};
        recent_[next_] = made;
        next_ = (next_ + 1) % recent_.size();
        return made;
    }

private:
    // Source and target folder of both directions and a backup list or two.
    std::array<SharedText, 8> recent_;
    std::size_t next_ = 0;
};

} // namespace brisko::engine
