// The record I/O layer, the one header the frame and the calculators include:
// the console (records, reads, confirmation, pause, stop), formatted records,
// the report file, fixed-length texts, the run-time error and the
// single-precision arithmetic checks.
#ifndef TEVOL_COMMON_RECORD_IO_H_
#define TEVOL_COMMON_RECORD_IO_H_

#include "common/console.h"
#include "common/fixed_text.h"
#include "common/record_format.h"
#include "common/report_file.h"
#include "common/run_time_error.h"
#include "common/single_precision.h"

#endif  // TEVOL_COMMON_RECORD_IO_H_
