#include "platform/resource.h"
#include "platform/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string resource_bytes(const platform::Resource* r) {
    return std::string(reinterpret_cast<const char*>(r->data), r->size);
}

TEST(Resource, EmbeddedFilesAreFoundByTypeAndName) {
    const platform::Resource* text = platform::find_resource("Text", "greeting");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(resource_bytes(text), "hello resource\n");
    EXPECT_STREQ(text->type, "Text");
    EXPECT_STREQ(text->name, "greeting");

    // Every byte value survives the build-time conversion.
    const platform::Resource* binary = platform::find_resource("Data", "noise");
    ASSERT_NE(binary, nullptr);
    EXPECT_EQ(binary->size, 300u);
    EXPECT_EQ(resource_bytes(binary), test_support::read_text(KX_SOURCE_DIR "/platform/testdata/binary.bin"));

    const platform::Resource* empty = platform::find_resource("Data", "nothing");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size, 0u);
}

TEST(Resource, NamesIgnoreCaseButTypesAndNamesMustMatch) {
    EXPECT_EQ(platform::find_resource("TEXT", "Greeting"), platform::find_resource("Text", "greeting"));
    EXPECT_EQ(platform::find_resource("Data", "greeting"), nullptr); // the name exists under another type
    EXPECT_EQ(platform::find_resource("Text", "greet"), nullptr);    // no prefix matches
    EXPECT_EQ(platform::find_resource("Text", "greetings"), nullptr);
    EXPECT_EQ(platform::find_resource(nullptr, "greeting"), nullptr);
    EXPECT_EQ(platform::find_resource("Text", nullptr), nullptr);
}

} // namespace
