// Arbitrary bytes as a session file: never a crash; a file is refused with a
// reason naming it, or read whole, and what is read is written back as the
// same session.

#include "fuzz_check.h"
#include "session/session.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SessionRead read = readSession(bytes, "f.btsession");
    fuzzCheck(read.session.has_value() != !read.refusal.empty(),
              "a session both read and refused, or neither");
    fuzzCheck(read.session || read.refusal.rfind("could not open f.btsession: ", 0) == 0,
              "a refusal that does not name the file");
    if (!read.session)
        return 0;
    fuzzCheck(bytes.substr(bytes.size() - read.session->box.size()) == read.session->box,
              "the box is not the file's last bytes");
    const std::string written = writeSession(*read.session);
    const SessionRead again = readSession(written, "f.btsession");
    fuzzCheck(again.session && writeSession(*again.session) == written,
              "a session read does not write back as itself");
    return 0;
}
