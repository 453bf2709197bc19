#ifndef VELMO_BENCH_BENCHPAGES_H
#define VELMO_BENCH_BENCHPAGES_H

#include "core/io.IStream.h"
#include "lib/BilevelPage.h"

#include <cstdint>
#include <vector>

namespace velmo::bench {

// The text page of tests/lib/data (a rendered manual page, 200 dpi) on a fax-width page
// of 1728 x 2200.
tests::BilevelPage textPage1728();
// The same text at 600 dpi (every pixel three by three) on a 5100 x 6600 page.
tests::BilevelPage textPage5100();

// Group 4 of a page, in one strip, coded by this library.
std::vector<unsigned char> group4Of(const tests::BilevelPage& page);
// Rows of a page decoded from Group 4 by this library, written to pOut.
void bitmapOfGroup4(const std::vector<unsigned char>& coded, std::int32_t nWidth, std::int32_t nHeight, core::io::IStream& out);
// Group 4 of bitmap rows, coded by this library, written to pOut.
void group4OfBitmap(const std::vector<unsigned char>& rows, std::int32_t nWidth, std::int32_t nHeight, core::io::IStream& out);

}

#endif
