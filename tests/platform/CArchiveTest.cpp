#include <gtest/gtest.h>

#include <fcntl.h>
#include <vector>

#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "support/TestFiles.h"

namespace {

std::string Store(const CString& text)
{
    std::string buffer;
    CArchive ar(buffer);
    ar << text;
    return buffer;
}

CString Load(const std::string& bytes)
{
    CArchive ar(std::string_view { bytes });
    CString text;
    ar >> text;
    EXPECT_EQ(ar.GetRemaining(), 0u);
    return text;
}

struct CPrefixCase {
    size_t length;
    std::string prefix;
};

class StringPrefix : public ::testing::TestWithParam<CPrefixCase> { };

TEST_P(StringPrefix, IsWrittenInItsFormAndReadBack)
{
    const CPrefixCase& c = GetParam();
    const CString text(c.length, 'x');
    const std::string bytes = Store(text);
    EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix);
    EXPECT_EQ(bytes.size(), c.prefix.size() + c.length);
    EXPECT_EQ(Load(bytes), text);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, StringPrefix,
    ::testing::Values(CPrefixCase { 0, std::string("\x00", 1) }, CPrefixCase { 1, "\x01" },
        CPrefixCase { 254, "\xFE" }, CPrefixCase { 255, std::string("\xFF\xFF\x00", 3) },
        CPrefixCase { 65533, "\xFF\xFD\xFF" },
        CPrefixCase { 65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7) },
        CPrefixCase { 70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7) }));

TEST(CArchive, DwordsAreLittleEndian)
{
    std::string buffer;
    CArchive ar(buffer);
    ar << static_cast<uint32_t>(0x11223344) << static_cast<int32_t>(-2);
    EXPECT_EQ(buffer, std::string("\x44\x33\x22\x11\xFE\xFF\xFF\xFF"));
    CArchive in(std::string_view { buffer });
    uint32_t a = 0;
    int32_t b = 0;
    in >> a >> b;
    EXPECT_EQ(a, 0x11223344u);
    EXPECT_EQ(b, -2);
}

TEST(CArchive, ReadsWideStringsIntoTheCodePage)
{
    // 0xFF 0xFFFE marks a wide string; then its length and 16-bit characters:
    // 'A', e-acute, the euro sign, a CJK character and a surrogate pair.
    const std::string bytes("\xFF\xFE\xFF\x06"
                            "A\x00\xE9\x00\xAC\x20\x2D\x4E\x3D\xD8\x00\xDE",
        16);
    EXPECT_EQ(Load(bytes), "A\xE9\x80&#20013;&#128512;");
}

TEST(CArchive, ReadsALongWidePrefix)
{
    std::string bytes("\xFF\xFE\xFF\xFF\x01\x01", 6); // wide, 16-bit length 257
    bytes += std::string(257 * 2, '\0');
    for (size_t i = 6; i < bytes.size(); i += 2)
        bytes[i] = 'w';
    EXPECT_EQ(Load(bytes), CString(257, 'w'));
}

TEST(CArchive, ReadingPastTheEndThrows)
{
    const std::vector<std::string> truncated = {
        std::string(""),
        std::string("\x05"
                    "abc",
            4), // fewer characters than announced
        std::string("\xFF\x10", 2), // a cut 16-bit length
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7), // 2 GiB announced in a 7-byte file
        std::string("\xFF\xFE\xFF\x02"
                    "a",
            5), // a wide string cut in a character
    };
    for (const std::string& bytes : truncated) {
        CArchive ar(std::string_view { bytes });
        CString text;
        EXPECT_THROW(ar >> text, CArchiveException) << "bytes: " << bytes.size();
    }
    CArchive ar(std::string_view { "\x01\x02\x03", 3 });
    uint32_t value = 0;
    EXPECT_THROW(ar >> value, CArchiveException);
}

TEST(CArchive, RepeatedWideMarksDoNotRecurse)
{
    // A file of nothing but wide marks must end in the end-of-file error.
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += std::string("\xFF\xFE\xFF", 3);
    CArchive ar(std::string_view { bytes });
    CString text;
    EXPECT_THROW(ar >> text, CArchiveException);
}

// A file archive (and a sink) reads and writes in pieces; values that straddle the pieces,
// and strings longer than a piece, must come out as from memory.
TEST(CArchive, AFileIsStoredAndLoadedInPiecesLikeMemory)
{
    std::vector<CString> texts;
    for (size_t length : { 0, 1, 254, 255, 70000, 300000, 3, 600000 })
        texts.emplace_back(length, static_cast<char>('a' + texts.size()));
    for (int i = 0; i < 20000; ++i)
        texts.emplace_back(static_cast<size_t>(i % 300), 'q');

    CTempFolder folder;
    const std::string path = folder.File("pieces.bin");
    std::string memory;
    std::string sunk;
    {
        CArchive inMemory(memory);
        CFile file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
        CArchive onFile(file, CArchive::EMode::Store);
        CArchive intoSink([&sunk](std::string_view bytes) { sunk.append(bytes); });
        for (size_t i = 0; i < texts.size(); ++i) {
            inMemory << texts[i] << static_cast<uint32_t>(i);
            onFile << texts[i] << static_cast<uint32_t>(i);
            intoSink << texts[i] << static_cast<uint32_t>(i);
        }
        ASSERT_TRUE(onFile.Flush());
        ASSERT_TRUE(intoSink.Flush());
    }
    ASSERT_EQ(ReadWholeFile(path), memory);
    ASSERT_EQ(sunk, memory);

    CFile file(::open(path.c_str(), O_RDONLY));
    CArchive ar(file, CArchive::EMode::Load);
    for (size_t i = 0; i < texts.size(); ++i) {
        CString text;
        uint32_t index = 0;
        ar >> text >> index;
        ASSERT_EQ(text, texts[i]);
        ASSERT_EQ(index, i);
    }
    EXPECT_TRUE(ar.IsAtEnd());
    uint32_t past = 0;
    EXPECT_THROW(ar >> past, CArchiveException);
    EXPECT_EQ(file.GetError(), EFileError::None);
}

TEST(CArchive, AFileEndingEarlyOrFailingToReadThrows)
{
    CTempFolder folder;
    const std::string path = folder.File("cut.bin");
    // 2 GiB announced in a 7-byte file: fails without holding more than the file.
    WriteWholeFile(path, std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7));
    {
        CFile file(::open(path.c_str(), O_RDONLY));
        CArchive ar(file, CArchive::EMode::Load);
        EXPECT_FALSE(ar.IsAtEnd());
        CString text;
        EXPECT_THROW(ar >> text, CArchiveException);
        EXPECT_EQ(file.GetError(), EFileError::None);
    }
    {
        // A descriptor that cannot be read: the data ends and the file keeps why.
        CFile file(::open(path.c_str(), O_WRONLY));
        CArchive ar(file, CArchive::EMode::Load);
        uint32_t value = 0;
        EXPECT_THROW(ar >> value, CArchiveException);
        EXPECT_EQ(file.GetError(), EFileError::Generic);
    }
}

} // namespace
