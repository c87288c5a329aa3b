#include "bitmap/status_text.h"

#include <gtest/gtest.h>

#include "bitmap/taviron.h"

namespace {

TEST(TavironStatusText, EachCodeHasItsWordsAndTheAccessPicksAmongThem) {
    EXPECT_EQ(taviron_status_text(TAV_ERR_MAGIC, TavironAccess::Load), "it is not a Taviron file");
    EXPECT_EQ(taviron_status_text(TAV_ERR_MAGIC, TavironAccess::Import), "it is not a BMP file");
    EXPECT_EQ(taviron_status_text(TAV_ERR_FAILED, TavironAccess::Load), "the file cannot be opened or read");
    EXPECT_EQ(taviron_status_text(TAV_ERR_FAILED, TavironAccess::Save), "the file cannot be written");
    EXPECT_EQ(taviron_status_text(-8, TavironAccess::Load), "error -8");
    for (int status : {-1, -3, -4, -5, -6, -7, -9, -10})
        EXPECT_EQ(taviron_status_text(status, TavironAccess::Load).find("error"), std::string::npos)
            << status;
}

} // namespace
