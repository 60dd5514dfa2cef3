#pragma once
// The split's diagnostic lines: "No need to split.", each part's path, a dot for
// each block, "Output File exist.", for whoever runs the program with its output
// in a file. The splitting thread must never wait on a reader: a pipe that nobody
// reads (a launcher that captures the output) fills and stops every write, and a
// console does the same while text is selected in it; the split, and its cancel
// with it, would stop there.
#include <string>

// Writes text and, with end_line, a line end, flushing the stream. By default to
// standard output when that is a file on a disk, else nowhere. Tests put one here
// that keeps what it is given.
extern void (*write_diagnostic)(const std::string& text, bool end_line);
