#include "model/asc_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model/asc_lines.h"

namespace {

constexpr const char* kTriMeshPattern = "Tri-mesh, Vertices: %d     Faces: %d";
constexpr const char* kVertexPattern = "Vertex %d:  X: %f     Y: %f     Z: %f";
constexpr const char* kFacePattern = "Face %d:    A: %d B: %d C: %d";

// One scan result: how many fields were stored and the bits of every field afterwards.
struct Outcome {
    int stored;
    uint32_t bits[4];
    bool operator==(const Outcome&) const = default;
};

std::string Show(const Outcome& o) {
    char text[96];
    std::snprintf(text, sizeof text, "%d [%08x %08x %08x %08x]", o.stored, o.bits[0], o.bits[1], o.bits[2],
                  o.bits[3]);
    return text;
}

// The fields start as recognisable garbage so that "kept its previous value" is visible.
constexpr uint32_t kUntouched = 0x7fc12345u;

// Runs a pattern of up to four fields (%d and %f) through sscanf.
Outcome WithSscanf(const std::string& line, const char* pattern) {
    uint32_t bits[4] = {kUntouched, kUntouched, kUntouched, kUntouched};
    void* f[4] = {&bits[0], &bits[1], &bits[2], &bits[3]};
    int stored = std::sscanf(line.c_str(), pattern, f[0], f[1], f[2], f[3]);
    if (stored < 0) stored = 0;
    Outcome o{stored, {}};
    std::memcpy(o.bits, bits, sizeof bits);
    return o;
}

Outcome WithPattern(const std::string& line, const char* pattern) {
    uint32_t bits[4] = {kUntouched, kUntouched, kUntouched, kUntouched};
    void* const f[4] = {&bits[0], &bits[1], &bits[2], &bits[3]};
    Outcome o{AscPattern(pattern).Scan(line, f), {}};
    std::memcpy(o.bits, bits, sizeof bits);
    return o;
}

void ExpectSameAsSscanf(const std::string& line, const char* pattern) {
    const Outcome expected = WithSscanf(line, pattern);
    const Outcome actual = WithPattern(line, pattern);
    EXPECT_EQ(actual, expected) << "line \"" << line << "\" pattern \"" << pattern << "\": got "
                                << Show(actual) << ", sscanf " << Show(expected);
}

float ScanFloat(const std::string& text) {
    float value = -1.0f;
    void* const f[1] = {&value};
    AscPattern("%f").Scan(text, f);
    return value;
}

const char* const kFloatTokens[] = {
    "1.5",
    "+1.5",
    "-1.5",
    "-0",
    "+0",
    "0",
    "00012.5",
    ".5",
    "-.5",
    ".",
    "-.",
    "+",
    "-",
    "5.",
    "1.2.3",
    "12abc",
    "1e",
    "1e+",
    "1e-",
    "1E5",
    "1e+5",
    "1e-5",
    "1e5e3",
    "1e+-5",
    "1e400",
    "-1e400",
    "1e-40",
    "1e-46",
    "1e-50",
    "3.4028235e38",
    "3.4028236e38",
    "3.40282357e38",
    "1.17549435e-38",
    "1.4e-45",
    "0.000000000000000000000000000000000000000000001",
    "123456789012345678901234567890",
    "0.1000000000000000055511151231257827",
    "16777217",
    "16777219",
    "0x1p3",
    "0X1.8P-2",
    "0x",
    "-0x",
    "+0x",
    "0xg",
    "0x.8",
    "0x.p1",
    "0x1p",
    "0x1p+",
    "0x1.fffffep127",
    "0x1.ffffffp127",
    "0x1p-149",
    "0x1p-150",
    "0x1e3",
    "0x1E+3",
    "inf",
    "-INF",
    "+Inf",
    "infinity",
    "INFINITY",
    "infinit",
    "infx",
    "infi",
    "in",
    "nan",
    "-NaN",
    "NaN(123)",
    "nanx",
    "na",
    "n",
    "i",
    "e5",
    "0e",
    "0e5",
    "x1",
    "1,5",
    "99999999999999999999999999999999999999999999",
    "-0.0e-0",
    "7E-1x",
};

const char* const kIntTokens[] = {
    "42",
    "+42",
    "-42",
    "007",
    "0x10",
    "0",
    "-0",
    "+",
    "-",
    "+-1",
    "1e3",
    "12.7",
    "2147483647",
    "2147483648",
    "4294967297",
    "-2147483649",
    "9223372036854775807",
    "9223372036854775808",
    "-9223372036854775808",
    "-9223372036854775809",
    "99999999999999999999",
    "-99999999999999999999",
    "000000000000000000000000000017",
    "x",
    "",
};

TEST(AscNumbers, FloatsReadLikeSscanf) {
    // The trailing "|%d" shows where %f stopped: sscanf and the scanner must agree on it too.
    for (const char* token : kFloatTokens) {
        ExpectSameAsSscanf(token, "%f");
        ExpectSameAsSscanf(std::string(token) + "|7", "%f|%d");
        ExpectSameAsSscanf(std::string(token) + " 7", "%f %d");
        ExpectSameAsSscanf(std::string("X: ") + token + "     Y: 2", "X: %f Y: %f");
    }
}

TEST(AscNumbers, IntsReadLikeSscanf) {
    for (const char* token : kIntTokens) {
        ExpectSameAsSscanf(token, "%d");
        ExpectSameAsSscanf(std::string(token) + "|7", "%d|%d");
        ExpectSameAsSscanf(std::string("A:") + token + " B:3", "A: %d B: %d");
    }
}

TEST(AscNumbers, SpecialValues) {
    EXPECT_EQ(ScanFloat("+2.5"), 2.5f);
    EXPECT_EQ(ScanFloat("0x1.8p1"), 3.0f);
    EXPECT_EQ(ScanFloat("1e"), 1.0f); // the dangling exponent is consumed, the value stands
    EXPECT_TRUE(std::isinf(ScanFloat("-infinity")) && ScanFloat("-inf") < 0);
    EXPECT_TRUE(std::isnan(ScanFloat("nan")));
    EXPECT_TRUE(std::isinf(ScanFloat("1e39")));
    EXPECT_EQ(ScanFloat("1e-50"), 0.0f);
    EXPECT_EQ(ScanFloat("infix"), -1.0f); // "infi" commits to "infinity" and then fails
    int32_t v = 5;
    EXPECT_NE(AscReadInt("4294967297", "4294967297" + 10, &v), nullptr);
    EXPECT_EQ(v, 1); // strtol's long, cut to int
    EXPECT_NE(AscReadInt("-99999999999999999999", "-99999999999999999999" + 21, &v), nullptr);
    EXPECT_EQ(v, 0); // LONG_MIN cut to int
}

// Plain decimals take a shortcut past from_chars; they must still round exactly as strtof does,
// halfway cases between two floats included.
TEST(AscNumbers, PlainDecimalsRoundLikeStrtof) {
    std::mt19937_64 rng(99);
    std::vector<std::string> tokens;
    for (int i = 0; i < 100000; ++i) {
        const int digits = 1 + static_cast<int>(rng() % 19);
        std::string t;
        for (int k = 0; k < digits; ++k)
            t += static_cast<char>('0' + rng() % 10);
        const int dot = static_cast<int>(rng() % (digits + 2));
        if (dot <= digits) t.insert(static_cast<size_t>(dot), ".");
        if (rng() % 2) t.insert(0, "-");
        tokens.push_back(t);
    }
    // Exact halfway points between neighbouring floats, written out in full.
    for (uint32_t bits : {0x4b800000u, 0x4b800001u, 0x3f800000u, 0x3dcccccdu, 0x42f6e979u, 0x5a000000u}) {
        float lower;
        std::memcpy(&lower, &bits, 4);
        const float upper = std::nextafter(lower, 1e30f);
        char text[80];
        std::snprintf(text, sizeof text, "%.40f", (static_cast<double>(lower) + upper) / 2);
        std::string t = text;
        t.erase(t.find_last_not_of('0') + 1);
        tokens.push_back(t);
    }
    for (const char* t : {"16777217", "16777219.0", "33554434", "33554438", "0.500000", "-0.000000",
                          "1000000000000000000", "9007199254740993", "9007199254740992.5"}) {
        tokens.emplace_back(t);
    }
    for (const std::string& t : tokens) {
        float expected = -7, actual = -7;
        std::sscanf(t.c_str(), "%f", &expected);
        void* const f[1] = {&actual};
        AscPattern("%f").Scan(t, f);
        ASSERT_EQ(std::memcmp(&actual, &expected, 4), 0) << t << ": " << actual << " vs " << expected;
    }
}

TEST(AscPatterns, BlankMatchesAnyWhiteSpaceIncludingNone) {
    for (const char* line :
         {"Face 0:    A: 1 B: 2 C: 3", "Face 0:A:1B:2C:3", "Face\t0:\tA:\t1\r\vB:\f2 C:  3",
          "Face 0: A:1 B:2 C:3 AB:1 BC:1 CA:1", "Face0:A:1 B:2 C:3"}) {
        int32_t n = -1, a = -1, b = -1, c = -1;
        void* const f[4] = {&n, &a, &b, &c};
        EXPECT_EQ(AscPattern(kFacePattern).Scan(line, f), 4) << line;
        EXPECT_EQ(n, 0);
        EXPECT_EQ(a, 1);
        EXPECT_EQ(b, 2);
        EXPECT_EQ(c, 3);
        ExpectSameAsSscanf(line, kFacePattern);
    }
    float x = 0, y = 0, z = 0;
    int32_t n = 0;
    void* const f[4] = {&n, &x, &y, &z};
    EXPECT_EQ(AscPattern(kVertexPattern).Scan("Vertex 7:X:1.5 Y:-2 Z:0.25", f), 4);
    EXPECT_EQ(x, 1.5f);
    EXPECT_EQ(y, -2.0f);
    EXPECT_EQ(z, 0.25f);
}

TEST(AscPatterns, UnreachedFieldsKeepTheirValues) {
    int32_t n = 9, a = 9, b = 9, c = 9;
    void* const f[4] = {&n, &a, &b, &c};
    const AscPattern face(kFacePattern);
    EXPECT_EQ(face.Scan("Face 3:    A: 4 B: x C: 6", f), 2);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(c, 9);
    EXPECT_EQ(face.Scan("Face list:", f), 0); // ':' where the number should be
    EXPECT_EQ(face.Scan("Page 2", f), 0);
    EXPECT_EQ(face.Scan("Face 1 :", f), 1); // a literal does not skip blanks by itself
    EXPECT_EQ(n, 1);
    EXPECT_EQ(a, 4);
    for (const char* line :
         {"Face 3:    A: 4 B: x C: 6", "Face list:", "Face 1 :", "Face", "", "Face 5:  A: 1 B: 2 C:"}) {
        ExpectSameAsSscanf(line, kFacePattern);
    }
}

TEST(AscPatterns, ScanStopsAtNulAndAtTheEndOfTheLine) {
    // A NUL ends the text sscanf sees; so does the end of the line even when more bytes follow.
    const std::string withNul("Face 1:    A: 2 B:\0 3 C: 4", 26);
    int32_t n = 0, a = 0, b = 0, c = 0;
    void* const f[4] = {&n, &a, &b, &c};
    EXPECT_EQ(AscPattern(kFacePattern).Scan(withNul, f), 2);
    EXPECT_EQ(b, 0);
    const std::string twoLines = "Face 1:    A: 2 B:\n3 C: 4";
    EXPECT_EQ(AscPattern(kFacePattern).Scan(std::string_view(twoLines).substr(0, 18), f), 2);
}

// Random lines shaped like ASC lines, with the characters numbers are made of, must scan the
// same as with sscanf under all three patterns.
TEST(AscPatterns, RandomLinesMatchSscanf) {
    std::mt19937 rng(12345);
    const std::string pieces[] = {
        "Vertex", "Face",  "Tri-mesh,", "Vertices:", "Faces:", "X:",
        "Y:",     "Z:",    "A:",        "B:",        "C:",     " ",
        "  ",     "\t",    ":",         "0",         "1",      "7",
        "-",      "+",     ".",         "e",         "E",      "x",
        "p",      "inf",   "nan",       "ity",       "0x1",    "12345678901234567890",
        "3.25",   "1e-45", "1e39",      "\r",        "a",      "f"};
    const char* patterns[] = {kTriMeshPattern, kVertexPattern, kFacePattern};
    const size_t pieceCount = sizeof pieces / sizeof pieces[0];
    for (int round = 0; round < 60000; ++round) {
        std::string line;
        const char* pattern = patterns[round % 3];
        // Start from a well-formed prefix most of the time so the fields are reached.
        if (rng() % 4 != 0)
            line = pattern == kVertexPattern ? "Vertex 1:  X: "
                   : pattern == kFacePattern ? "Face 2: A:"
                                             : "Tri-mesh, Vertices: ";
        const int count = 1 + static_cast<int>(rng() % 12);
        for (int k = 0; k < count; ++k)
            line += pieces[rng() % pieceCount];
        const Outcome expected = WithSscanf(line, pattern);
        const Outcome actual = WithPattern(line, pattern);
        ASSERT_EQ(actual, expected) << "line \"" << line << "\" pattern \"" << pattern << "\": got "
                                    << Show(actual) << ", sscanf " << Show(expected);
    }
}

std::vector<std::string> SplitWithFgets(const std::string& data) {
    std::vector<std::string> lines;
    FILE* f = fmemopen(const_cast<char*>(data.data()), data.size(), "r");
    if (f == nullptr) return lines;
    char buffer[2048];
    while (std::fgets(buffer, sizeof buffer, f) != nullptr) {
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(line);
    }
    std::fclose(f);
    return lines;
}

std::vector<std::string> SplitWithReader(const std::string& data) {
    std::vector<std::string> lines;
    AscLineReader reader(data.data(), data.size());
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    EXPECT_EQ(reader.linesRead(), lines.size());
    const auto content = static_cast<uint64_t>(std::count_if(lines.begin(), lines.end(), AscIsContentLine));
    EXPECT_EQ(reader.contentLinesRead(), content);
    EXPECT_EQ(AscContentLines(data.data(), data.size()), content);
    EXPECT_FALSE(reader.failed());
    return lines;
}

// The same through a file and a small buffer, so that lines straddle the refills.
std::vector<std::string> SplitStreaming(const std::string& data, size_t bufferSize) {
    std::vector<std::string> lines;
    FILE* f = fmemopen(const_cast<char*>(data.data()), data.size(), "r");
    if (f == nullptr) return lines;
    std::vector<char> buffer(bufferSize);
    AscLineReader reader(f, buffer.data(), buffer.size());
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    EXPECT_FALSE(reader.failed());
    std::fclose(f);
    // Counted in pieces that cut lines anywhere, down to single bytes.
    for (size_t piece : {size_t{1}, size_t{7}, size_t{1000}}) {
        AscLineCounter counter;
        for (size_t at = 0; at < data.size(); at += piece) {
            counter.Add(data.data() + at, std::min(piece, data.size() - at));
        }
        EXPECT_EQ(counter.contentLines(), AscContentLines(data.data(), data.size())) << "pieces of " << piece;
    }
    return lines;
}

TEST(AscLines, LongLinesContinueAsTheNextLine) {
    const std::string exact(2046, 'a');
    EXPECT_EQ(SplitWithReader(exact + "\nb"), (std::vector<std::string>{exact, "b"}));
    const std::string over(2047, 'a');
    // 2047 characters fill the buffer; the newline behind them comes as an empty line.
    EXPECT_EQ(SplitWithReader(over + "\nb"), (std::vector<std::string>{over, "", "b"}));
    const std::string text = std::string(2047, 'x') + "Vertex 1:  X: 1";
    EXPECT_EQ(SplitWithReader(text), (std::vector<std::string>{std::string(2047, 'x'), "Vertex 1:  X: 1"}));
    EXPECT_TRUE(SplitWithReader("").empty());
    EXPECT_EQ(SplitWithReader("\n\n"), (std::vector<std::string>{"", ""}));
}

TEST(AscLines, SplitLikeFgets) {
    std::mt19937 rng(777);
    for (int round = 0; round < 300; ++round) {
        std::string data;
        const int runs = static_cast<int>(rng() % 8);
        for (int k = 0; k < runs; ++k) {
            const size_t lengths[] = {0, 1, 50, 2045, 2046, 2047, 2048, 4094, 4095, 5000};
            // Runs of content and of non-content characters, so that forced breaks start both.
            const char kinds[] = "aZ7 -\t";
            data.append(lengths[rng() % 10], kinds[rng() % 6]);
            if (rng() % 5 != 0) data += '\n';
        }
        const std::vector<std::string> expected = SplitWithFgets(data);
        ASSERT_EQ(SplitWithReader(data), expected) << "round " << round;
        ASSERT_EQ(SplitStreaming(data, 4096), expected) << "round " << round;
        ASSERT_EQ(SplitStreaming(data, 5000), expected) << "round " << round;
    }
}

TEST(AscLines, LineKinds) {
    EXPECT_TRUE(AscIsContentLine("Vertex 1"));
    EXPECT_TRUE(AscIsContentLine("7 apples"));
    EXPECT_TRUE(AscIsContentLine("zebra"));
    EXPECT_FALSE(AscIsContentLine(""));
    EXPECT_FALSE(AscIsContentLine(" Vertex 1"));
    EXPECT_FALSE(AscIsContentLine("\tFace"));
    EXPECT_FALSE(AscIsContentLine("\"quoted\""));
    EXPECT_FALSE(AscIsContentLine("\xc3\xa9t\xc3\xa9")); // not ASCII
    EXPECT_FALSE(AscIsContentLine("@"));
    EXPECT_FALSE(AscIsContentLine("["));
    EXPECT_FALSE(AscIsContentLine("`"));
    EXPECT_FALSE(AscIsContentLine("{"));
    EXPECT_TRUE(AscStartsWith("Face list:", "Face"));
    EXPECT_FALSE(AscStartsWith("face 1", "Face"));
    EXPECT_FALSE(AscStartsWith("Fac", "Face"));
    EXPECT_FALSE(AscStartsWith(std::string_view("Fa\0e", 4), "Face"));
}

} // namespace
