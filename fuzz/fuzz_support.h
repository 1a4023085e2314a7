#pragma once
// What every fuzz target shares: the input as text, the input split into lines, a set of awkward numbers,
// and invariant checks that end the run the way a crash does, so that libFuzzer keeps the input.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

// The bytes as UTF-8 text, as a text box or a layout file would hand them over.
QString text(const uint8_t* data, size_t size);

// The text's lines; missing lines read as empty, so a target may always ask for the first n.
QStringList lines(const QString& text, int atLeast);

// Numbers that break formatting and rounding code: signed zeros, halves, nines that carry, the limits of
// double, the smallest subnormal, infinities and NaN, followed by the given texts read as numbers.
std::vector<double> numbers(const QStringList& texts);

// Sets the workstation's locale once (decimal comma), as the program does at start.
void startOnce();

[[noreturn]] void broken(const char* what, const char* file, int line, const QString& detail);

}  // namespace fuzz

#define FUZZ_CHECK(cond, detail) ((cond) ? void(0) : fuzz::broken(#cond, __FILE__, __LINE__, (detail)))
