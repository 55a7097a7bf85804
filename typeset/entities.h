// Named character entities ("&ouml;") for one-off words, decoded into the
// Western single-byte code page and drawn by the device-level printer.
#pragma once

#include "canvas.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Names for codes 128..255 (the rest stay empty).
inline std::array<QString, 256> EntityName;

void InitEntities();
// Converts text into single-byte codes: bytes is resized to hold them and
// count is how many were produced.
void DecodeEntities(std::vector<uint8_t>& bytes, int32_t& count, const QString& text);
void dsp_entity(typeset::Canvas& c, const QString& text, int32_t& x, int32_t& y);
