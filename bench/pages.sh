# Shared by the benchmark scripts (sourced): the test pages, made from local material.
#   make_pages DIR   writes DIR/page200.ppm (1700 x 2200) and DIR/page600.ppm (5100 x 6600):
#                    the first page of the tar manual page (man -t, ps2pdf) rendered by
#                    pdftoppm, anti-aliased, at the pixel sizes of a Letter page at 200 and
#                    600 dpi; and DIR/photo.ppm, a photograph-like 1700 x 2200 page of rough
#                    clouds from netpbm's ppmforge.
make_pages() {
  man -t tar 2>/dev/null | ps2pdf - "$1/tar.pdf"
  pdftoppm -scale-to-x 1700 -scale-to-y 2200 -f 1 -l 1 -singlefile "$1/tar.pdf" "$1/page200"
  pdftoppm -scale-to-x 5100 -scale-to-y 6600 -f 1 -l 1 -singlefile "$1/tar.pdf" "$1/page600"
  ppmforge -clouds -dimension 2.9 -seed 7 -width 1700 -height 2200 >"$1/photo.ppm" 2>/dev/null
}
