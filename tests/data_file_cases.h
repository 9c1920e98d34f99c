#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Data files as a logger or a spreadsheet writes them, and the box text each
// must give (UTF-8, CR LF), or the start of its refusal. Shared by the core
// test (iconv) and the window test (Qt's converters): both must agree.
struct DataFileCase {
    const char* name;
    std::string bytes;
    std::string boxText; // empty when refused
    std::string refusal; // what the message says after the file's name
    // The file is `bytes` then '1's up to this size: a file too large to
    // keep in the table, made only when a test writes it.
    std::size_t paddedTo = 0;

    std::string fileBytes() const
    {
        std::string file = bytes;
        if (file.size() < paddedTo)
            file.append(paddedTo - file.size(), '1');
        return file;
    }
};

inline std::vector<DataFileCase> dataFileCases()
{
    return {
        {"utf8_lf", "t (s)\xC2\xB5m\n1\n2", "t (s)\xC2\xB5m\r\n1\r\n2", ""},
        {"utf8_bom_crlf", "\xEF\xBB\xBFx\r\n1\r\n", "x\r\n1\r\n", ""},
        {"cr_alone", "1\r2\r3", "1\r\n2\r\n3", ""},
        {"mixed_breaks", "1\r\n2\n3\r4", "1\r\n2\r\n3\r\n4", ""},
        {"utf16le_bom",
         std::string("\xFF\xFE\xB5\x00m\x00\n\x00"
                     "1\x00",
                     10),
         "\xC2\xB5m\r\n1", ""},
        {"utf16be_bom",
         std::string("\xFE\xFF\x00\xB0\x00"
                     "C\x00\r\x00\n\x00"
                     "2",
                     12),
         "\xC2\xB0"
         "C\r\n2",
         ""},
        {"windows1252",
         "\xB5m \xB0"
         "C\r\n\x80 5",
         "\xC2\xB5m \xC2\xB0"
         "C\r\n\xE2\x82\xAC 5",
         ""},
        {"windows1252_undefined_byte", "a\x81", "a\xC2\x81", ""},
        {"empty", "", "", ""},
        {"binary",
         std::string("1\0"
                     "2",
                     3),
         "", "it is not a text file (it may be a picture, a spreadsheet or a program)"},
        {"utf16_cut_off",
         std::string("\xFF\xFE"
                     "1\x00"
                     "2",
                     5),
         "", "its text cannot be decoded"},
        {"larger_than_32_mb", "1", "", "it is larger than 32 MB", 32 * 1024 * 1024 + 1},
    };
}
