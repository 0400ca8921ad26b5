#pragma once
#include "model/MatrixImage.h"

#include <QJsonObject>

// The decoded content of a preset image for `tolvan16ctl show`: the header's configuration and
// name, then all 16 inputs and outputs. Every value appears as {"code", "text"}: the code as the
// image decodes it (a zero crossover type byte gives -1) and the text the editor shows for it
// (after the clamping the editor applies to crossover and band values before it shows them).
QJsonObject PresetJson(const MatrixImage& image);
