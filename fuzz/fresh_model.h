// A model as a fresh construction gives it, for fuzz targets that need one
// per input. Constructing a model allocates and clears its default tables
// (thousands of pattern rows), which took half the time of a run; copying a
// pristine model into storage of the same size only copies. Slot tells apart
// the models one input needs at the same time.
#pragma once

#include "core/model.h"

template <int Slot = 0>
wavra::Model& freshModel() {
    static const wavra::Model pristine;
    static wavra::Model model;
    model = pristine;
    return model;
}
