#pragma once

#include <cstddef>
#include <string>

// The four things a command may do with the screen. The window implements
// them with Qt; the tests implement them with a script. Texts are UTF-8 and
// line breaks are CR LF on both sides of this interface.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // The whole text of the box.
    virtual std::string readBox() const = 0;
    // Sets the whole text of the box and brings the place `showFrom` (a byte
    // offset into the new text) into view: 0, the top, for a command that
    // replaces the box; the start of its new piece for one that appends.
    virtual void replaceBox(const std::string& text, std::size_t showFrom = 0) = 0;
    // A modal box with the prompt and an OK button.
    virtual void showMessage(const std::string& prompt) = 0;
    // A modal input box, its field holding `offered` to start with; the
    // typed text, or empty text on Cancel.
    virtual std::string askText(const std::string& prompt, const std::string& offered = {}) = 0;
};
