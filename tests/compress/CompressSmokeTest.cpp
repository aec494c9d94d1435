#include "CCompress.h"

#include <gtest/gtest.h>

TEST (CompressConstruction, StartsUnpreparedWithTheDocumentedValues)
{
    CCompress c;
    EXPECT_EQ (400, c.rmsWindowLength);
    EXPECT_FALSE (c.isPrepared());
    EXPECT_EQ (2.0, c.stereoLink);
    EXPECT_EQ (200.0, c.crossoverHz);
    EXPECT_EQ (0.0, c.reductionDb);
}
