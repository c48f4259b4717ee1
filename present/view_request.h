// What the batch command line asks of a result view: `--show VIEW` opens it
// on the loaded model, `--keys K1,K2,...` applies commands by their key
// names, `--png FILE` / `--svg FILE` paint it at `--size WxH`.
#pragma once

#include <string>

namespace wavra {

struct ViewRequest {
    std::string view;
    std::string keys;
    std::string png, svg;
    int width = 800, height = 800;
};

} // namespace wavra
