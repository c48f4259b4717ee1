// The label file of a picture: the picture's directory and name with the
// extension ".txt"; its first line is the label.
#pragma once

#include <string>

namespace wavra::view {

std::string labelPath(const std::string& picturePath);
// The first line of the picture's label file; empty when there is none.
std::string readLabel(const std::string& picturePath);
// Writes the label as the only line of the label file; false on failure.
bool writeLabel(const std::string& picturePath, const std::string& label);

} // namespace wavra::view
