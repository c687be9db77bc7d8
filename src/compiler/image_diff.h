#pragma once

#include "compiler/compile_project.h"

#include <QStringList>

// What differs between two pairs of images, field by field, in the names the
// image inspector (`dump`) gives them: one line a difference, in the order
// the fields lie in the images. Empty when both pairs decode the same.
QStringList Image_Differences(const Bank_Images &before, const Bank_Images &after);
