#include "core/exception.IndexOutOfBoundsException.h"
#include "core/exception.InvalidParameterException.h"
#include "core/exception.NullPointerException.h"
#include "core/exception.UnsupportedException.h"
#include "core/io.IOException.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmo::core;
using namespace velmo::core::exception;

TEST(Exception, ErrorCodeNames)
{
    EXPECT_STREQ(getErrorCodeName(4015), "unknownErrorCode");
    EXPECT_STREQ(getErrorCodeName(-1), "unknownErrorCode");
    EXPECT_STREQ(getErrorCodeName(4974), "pdfUnsupportedAppendOperation");
    EXPECT_STREQ(getErrorCodeName(4000), "unspecified error");
    EXPECT_STREQ(getErrorCodeName(4914), "bufferedStreamCurrentPositionSeekError");
}

TEST(Exception, ReportOfAnIndexError)
{
    Location location{"void f(int)", "Sep 30 2017", "/src/core/io.File.cpp", 48};
    IndexOutOfBoundsException error(location, 4001, 7);
    std::string report = error.getReport();
    EXPECT_EQ(report,
              ">>type [velmo.core.exception.IndexOutOfBoundsException]\r\n"
              ">>code [4001]\r\n"
              ">>info\r\n\r\nindexOutOfBounds\r\n\r\n"
              ">>internal code [0]\r\n"
              ">>internal info\r\n\r\n\r\n\r\n"
              ">>internal extended info\r\n\r\n\r\n\r\n"
              ">>stack trace\r\n\r\nvoid f(int) Sep 30 2017 core\\io.File : 48\r\n\r\n"
              ">>references\r\n\r\nindex [7]\r\n\r\n");
    // A second call builds the same text again.
    EXPECT_EQ(std::string(error.getReport()), report);
}

TEST(Exception, ReportWithoutReferencesAndCopies)
{
    Location location{"int g()", "Jan  1 2026", "lib/graphics.TiffTag.h", 12};
    io::IOException error(location, 4710, 3, "C:/missing.tif");
    std::string report = error.getReport();
    EXPECT_NE(report.find(">>type [velmo.core.io.IOException]\r\n"), std::string::npos);
    EXPECT_NE(report.find(">>internal info\r\n\r\nC:/missing.tif\r\n\r\n"), std::string::npos);
    EXPECT_NE(report.find("int g() Jan  1 2026 lib/graphics.TiffTag : 12\r\n"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 18), ">>references\r\n\r\n\r\n");

    io::IOException copy(error);
    EXPECT_EQ(std::string(copy.getReport()), report);
    EXPECT_EQ(copy.getInternalCode(), 3);
}

TEST(Exception, SubclassesCarryTheirReferences)
{
    InvalidParameterException invalid(VELMO_LOCATION, 4006, "nByteCount", -1);
    EXPECT_NE(std::string(invalid.getReport()).find("nByteCount [-1]\r\n"), std::string::npos);
    UnsupportedException unsupported(VELMO_LOCATION, 4003, 4962, "");
    EXPECT_EQ(unsupported.getInternalCode(), 4962);
    EXPECT_STREQ(unsupported.getTypeName(), "velmo.core.exception.UnsupportedException");
    NullPointerException null(VELMO_LOCATION, 4002, 0, nullptr);
    EXPECT_TRUE(null.getInternalInfo().isNull());

    // The location names this test's signature, build date, source and line.
    std::string trace = invalid.getStackTrace().getItem(0)->getBuffer();
    EXPECT_NE(trace.find("ExceptionTest"), std::string::npos) << trace;
    EXPECT_NE(trace.find(__DATE__), std::string::npos) << trace;
    EXPECT_NE(trace.find("core\\ExceptionTest : "), std::string::npos) << trace;
}
