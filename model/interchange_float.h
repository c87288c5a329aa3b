#pragma once
// Numbers in text model files (OBJ, MTL) written so that the model reader reads back the very
// same float. Its number reader works in single precision and loses bits on exponents and on
// more than 15 decimals, so a plain "%.9g" is not enough for tiny and huge values.

#include <string>

// Appends the text of value to out: the shortest form found whose reading gives back every bit
// of value (fixed notation where possible, else a mantissa and a decimal exponent chosen to
// survive the reader's arithmetic). NaN and infinities are written as "nan", "inf", "-inf".
void AppendExactFloat(std::string& out, float value);

// What the model reader makes of text (digits, one optional '.', optional exponent, optional sign).
// Exposed for tests; text that is not a number gives 0.
float ReadLikeModelReader(const char* text);
