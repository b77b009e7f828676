#pragma once

#include "platform/KeyboardLayout.h"

#include <map>

namespace platform::fake {

// A keyboard layout a test describes key by key.
class FakeKeyboardLayout : public KeyboardLayout {
public:
    std::optional<std::string> displayText(std::uint16_t keyCode) const override {
        ++lookups_;
        auto it = texts_.find(keyCode);
        if (it == texts_.end()) return std::nullopt;
        return it->second;
    }
    void set(std::uint16_t keyCode, std::string text) { texts_[keyCode] = std::move(text); }
    int lookups() const { return lookups_; }

    // The letters, digits and punctuation of a US keyboard.
    static FakeKeyboardLayout usQwerty() {
        FakeKeyboardLayout layout;
        const std::map<std::uint16_t, std::string> keys{
            {0, "a"},  {11, "b"}, {8, "c"},  {2, "d"},  {14, "e"}, {3, "f"},  {5, "g"},  {4, "h"},  {34, "i"},
            {38, "j"}, {40, "k"}, {37, "l"}, {46, "m"}, {45, "n"}, {31, "o"}, {35, "p"}, {12, "q"}, {15, "r"},
            {1, "s"},  {17, "t"}, {32, "u"}, {9, "v"},  {13, "w"}, {7, "x"},  {16, "y"}, {6, "z"},  {29, "0"},
            {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {23, "5"}, {22, "6"}, {26, "7"}, {28, "8"}, {25, "9"},
            {42, "\\"}, {50, "`"}, {43, ","}, {24, "="}, {27, "-"}, {47, "."}, {39, "'"}, {41, ";"}, {44, "/"},
            {33, "["}, {30, "]"}, {49, " "}, {36, "\r"}, {48, "\t"}};
        layout.texts_ = keys;
        return layout;
    }

private:
    std::map<std::uint16_t, std::string> texts_;
    mutable int lookups_ = 0;
};

} // namespace platform::fake
