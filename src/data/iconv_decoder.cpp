#include "data/iconv_decoder.h"

#include <cerrno>
#include <iconv.h>

namespace {

const char* iconvName(SourceEncoding encoding)
{
    switch (encoding) {
    case SourceEncoding::Utf8:
        return "UTF-8";
    case SourceEncoding::Utf16LE:
        return "UTF-16LE";
    case SourceEncoding::Utf16BE:
        return "UTF-16BE";
    case SourceEncoding::Windows1252:
        break;
    }
    return "WINDOWS-1252";
}

// The UTF-8 of a code point below U+0100.
void appendLatin1(std::string& out, unsigned char byte)
{
    if (byte < 0x80) {
        out += static_cast<char>(byte);
    } else {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

class Converter {
public:
    explicit Converter(SourceEncoding encoding) : handle_(iconv_open("UTF-8", iconvName(encoding)))
    {
    }
    ~Converter()
    {
        if (valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts what it can; stops at an invalid or incomplete sequence,
    // leaving `in` there. False on such a stop.
    bool convert(std::string_view& in, std::string& out)
    {
        char buffer[4096];
        while (!in.empty()) {
            char* source = const_cast<char*>(in.data());
            std::size_t sourceLeft = in.size();
            char* target = buffer;
            std::size_t targetLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &source, &sourceLeft, &target, &targetLeft);
            out.append(buffer, static_cast<std::size_t>(target - buffer));
            in.remove_prefix(in.size() - sourceLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t handle_;
};

} // namespace

std::optional<std::string> iconvDecode(std::string_view bytes, SourceEncoding encoding)
{
    Converter converter(encoding);
    if (!converter.valid())
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size());
    while (!converter.convert(bytes, out)) {
        if (encoding != SourceEncoding::Windows1252)
            return std::nullopt;
        appendLatin1(out, static_cast<unsigned char>(bytes.front()));
        bytes.remove_prefix(1);
    }
    return out;
}
