#pragma once
// One file reader under the fuzzer: readers/<name>.cpp defines fuzzReader(), which hands
// the bytes to the reader the way the tool would and checks what it did.
#include <QByteArray>

void fuzzReader(const QByteArray& file);
