#include "model/status_text.h"

#include <gtest/gtest.h>

#include "model/model.h"

namespace {

TEST(ModelStatusText, EachCodeHasItsWordsAndTheAccessPicksAmongThem) {
    EXPECT_EQ(ModelStatusText(MODEL_ERR_OPEN, ModelAccess::Read), "the file cannot be opened or read");
    EXPECT_EQ(ModelStatusText(MODEL_ERR_OPEN, ModelAccess::Write), "the file cannot be written");
    EXPECT_EQ(ModelStatusText(MODEL_ERR_MAGIC, ModelAccess::Read), "the file is not a Korvex model");
    EXPECT_EQ(ModelStatusText(MODEL_ERR_BUFFER, ModelAccess::Write), "the model cannot be compressed");
    EXPECT_EQ(ModelStatusText(MODEL_ERR_RANGE, ModelAccess::Import),
              "the object's counts do not fit the file");
    EXPECT_EQ(ModelStatusText(MODEL_ERR_RANGE, ModelAccess::Read),
              "the counts in the header do not fit the file");
    EXPECT_EQ(ModelStatusText(-8, ModelAccess::Read), "error -8");
    for (int32_t status : {-1, -2, -3, -4, -5, -7, -9, -10})
        EXPECT_EQ(ModelStatusText(status, ModelAccess::Read).find("error"), std::string::npos) << status;
}

} // namespace
