#pragma once

#include <stdexcept>

// Thrown when a page's expansion passes its limits (CGenerationRun's
// kMaxPageBytes and kMaxPageSteps): the page is abandoned, the run goes on.
class CPageLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
