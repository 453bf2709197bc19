#include "lib/TestStreams.h"
#include "core/exception.InvalidParameterException.h"
#include "lib/graphics.CropPadFilter.h"
#include "lib/graphics.HeaderModificationFilter.h"
#include "lib/graphics.ScanLineFillFilter.h"
#include "lib/graphics.TiffConstants.h"

#include <gtest/gtest.h>

using namespace velmo;
using namespace velmo::tests;
using lib::graphics::CropPadFilter;
using lib::graphics::HeaderModificationFilter;
using lib::graphics::IFilter;
using lib::graphics::ScanLineFillFilter;
using lib::graphics::TiffConstants;
using lib::graphics::TiffPageImage;

namespace {

using Values = std::vector<std::uint16_t>;

void setShort(TiffPageImage& page, std::int32_t nTag, std::int32_t nValue)
{
    velmo::lib::graphics::TiffTag* pTag = page.addTag(nTag);
    pTag->setDataType(TiffConstants::typeShort);
    pTag->setValueCount(1, 2);
    pTag->setValueOffset(nValue);
}

void makePage(TiffPageImage& page, std::int32_t nWidth, std::int32_t nLength)
{
    setShort(page, TiffConstants::tagImageWidth, nWidth);
    setShort(page, TiffConstants::tagImageLength, nLength);
    velmo::lib::graphics::TiffTag* pResolution = page.addTag(TiffConstants::tagYResolution);
    pResolution->setDataType(TiffConstants::typeRational);
    pResolution->setValueCount(1, 8);
    pResolution->setRationalTop(0, 98);
    pResolution->setRationalBottom(0, 1);
}

// Runs a page through one filter as the generator does.
Values filterPage(IFilter& filter, TiffPageImage& page, const Values& runs)
{
    VectorStream sink;
    filter.setOutputStream(&sink);
    filter.modifyHeader(page);
    filter.startPage();
    writeValues(filter, runs);
    filter.endPage();
    return sink.values();
}

Values operator+(Values first, const Values& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Values repeatLine(const Values& line, int nTimes)
{
    Values runs;
    for (int i = 0; i < nTimes; ++i)
        runs.insert(runs.end(), line.begin(), line.end());
    return runs;
}

TEST(CropPadFilter, CropsAndPadsLinesToTheTargetWidth)
{
    struct Case {
        const char* pszName;
        std::int32_t nTarget, nLocation;
        bool bPadWhite;
        Values line, expected;
    };
    const Case cases[] = {
        {"same width", 1728, 2, true, {100, 1628, 0xFFFF}, {100, 1628, 0xFFFF}},
        {"one white pixel each side", 1730, 2, true, {100, 1628, 0xFFFF}, {101, 1628, 1, 0, 0xFFFF}},
        {"one black pixel each side", 1730, 2, false, {100, 1628, 0xFFFF}, {0, 1, 100, 1629, 0xFFFF}},
        {"black pad joins a black run", 1730, 2, false, {0, 1728, 0xFFFF}, {0, 1730, 0xFFFF}},
        {"one pixel less each side", 1726, 2, true, {100, 1628, 0xFFFF}, {99, 1627, 0xFFFF}},
        {"pad on the left", 1738, 0, true, {100, 1628, 0xFFFF}, {110, 1628, 0xFFFF}},
        {"crop on the right", 1000, 1, true, {100, 1000, 628, 0xFFFF}, {100, 900, 0xFFFF}},
        {"crop inside a run", 1000, 0, true, {900, 50, 778, 0xFFFF}, {172, 50, 778, 0, 0xFFFF}},
        {"short source line is completed white", 1728, 2, true, {100, 100, 0xFFFF}, {100, 100, 1528, 0, 0xFFFF}},
        {"long source line is cut", 1728, 2, true, {100, 2000, 5, 0xFFFF}, {100, 1628, 0xFFFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        TiffPageImage page;
        makePage(page, 1728, 1);
        CropPadFilter filter;
        filter.setPadWhite(c.bPadWhite);
        filter.setPixelWidth(c.nTarget, c.nLocation);
        EXPECT_EQ(filterPage(filter, page, c.line), c.expected);
        EXPECT_EQ(page.getLongValue(TiffConstants::tagImageWidth), c.nTarget);
    }
}

TEST(CropPadFilter, PadsAndCropsLines)
{
    const Values line = {8, 0, 0xFFFF};
    const Values black = {0, 8, 0xFFFF};
    {
        TiffPageImage page;
        makePage(page, 8, 3);
        CropPadFilter filter;
        filter.setPixelHeight(13, 1);
        filter.setPadWhite(false);
        EXPECT_EQ(filterPage(filter, page, repeatLine(line, 3)), repeatLine(line, 3) + repeatLine(black, 10)) << "10 lines at the bottom";
        EXPECT_EQ(page.getLongValue(TiffConstants::tagImageLength), 13);
    }
    {
        TiffPageImage page;
        makePage(page, 8, 6);
        CropPadFilter filter;
        filter.setPixelHeight(2, 2);
        Values source = repeatLine({1, 7, 0xFFFF}, 2) + repeatLine(line, 2) + repeatLine({2, 6, 0xFFFF}, 2);
        EXPECT_EQ(filterPage(filter, page, source), repeatLine(line, 2)) << "two lines off top and bottom";
    }
    {
        TiffPageImage page;
        makePage(page, 8, 4);
        CropPadFilter filter;
        EXPECT_EQ(filterPage(filter, page, repeatLine(line, 1)), repeatLine(line, 4)) << "missing lines come white";
    }
    {
        // A page that claims two billion lines and delivers one: the middle two come white,
        // without walking the billion cropped lines before them.
        TiffPageImage page;
        makePage(page, 8, 1);
        page.setLongValue(TiffConstants::tagImageLength, 2000000000);
        CropPadFilter filter;
        filter.setPixelHeight(2, 2);
        EXPECT_EQ(filterPage(filter, page, repeatLine(black, 1)), repeatLine(line, 2));
    }
    CropPadFilter filter;
    EXPECT_THROW(filter.setPixelWidth(1728, 3), core::exception::InvalidParameterException);
    EXPECT_THROW(filter.setPixelHeight(1728, -1), core::exception::InvalidParameterException);
}

TEST(ScanLineFillFilter, RepeatsEveryLineAndScalesTheHeader)
{
    TiffPageImage page;
    makePage(page, 8, 2);
    ScanLineFillFilter filter;
    EXPECT_FALSE(filter.isStreamFilter());
    filter.setFillLineCount(1);
    EXPECT_TRUE(filter.isStreamFilter());
    EXPECT_EQ(filterPage(filter, page, {3, 5, 0xFFFF, 0, 8, 0xFFFF}), (Values{3, 5, 0xFFFF, 3, 5, 0xFFFF, 0, 8, 0xFFFF, 0, 8, 0xFFFF}));
    EXPECT_EQ(page.getLongValue(TiffConstants::tagImageLength), 4);
    EXPECT_EQ(page.getTag(TiffConstants::tagYResolution)->getRationalTop(0), 196);
    EXPECT_THROW(filter.setFillLineCount(-1), core::exception::InvalidParameterException);
}

TEST(HeaderModificationFilter, SetsRationalTags)
{
    TiffPageImage page;
    makePage(page, 8, 2);
    HeaderModificationFilter filter;
    filter.setXResolution(204, 1);
    filter.setYResolution(196, 2);
    EXPECT_FALSE(filter.isStreamFilter());
    filter.modifyHeader(page);
    for (std::int32_t nTag : {282, 283}) {
        const velmo::lib::graphics::TiffTag* pTag = page.getTag(nTag);
        ASSERT_NE(pTag, nullptr);
        EXPECT_EQ(pTag->getDataType(), TiffConstants::typeRational);
        EXPECT_EQ(pTag->getValueCount(), 1);
        EXPECT_EQ(pTag->getRationalTop(0), nTag == 282 ? 204 : 196);
        EXPECT_EQ(pTag->getRationalBottom(0), nTag == 282 ? 1 : 2);
    }
}

}
