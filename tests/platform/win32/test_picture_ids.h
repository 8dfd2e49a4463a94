#pragma once
// Resource numbers of the sample pictures built into the test program (shared with its .rc).
#define VL_TEST_GIF 201   // 64 x 64
#define VL_TEST_JPEG 202  // 60 x 60
#define VL_TEST_BMP 203   // 125 x 116
