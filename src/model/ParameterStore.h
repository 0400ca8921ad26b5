#pragma once
#include "model/DeviceModel.h"
#include "model/MatrixImage.h"
#include "model/MatrixParameters.h"

#include <cstdint>

// All parameters of the unit being edited, the configuration, and the image buffers.
struct ParameterStore {
    DeviceModel model;
    MatrixParameters params;
    MatrixImage buildImage{};   // filled by BuildMatrixImage, written to files
    MatrixImage loadImage{};    // filled from files or units, decoded by ApplyMatrixImage
    MatrixImage memoryImage{};  // used by the program memory procedures
    MatrixImage stagingImage{}; // what WriteProgram sends
    std::uint8_t currentProgram = 0;
};
