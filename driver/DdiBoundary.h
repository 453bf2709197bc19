#ifndef VELMO_DRIVER_DDIBOUNDARY_H
#define VELMO_DRIVER_DDIBOUNDARY_H

namespace velmo::driver {

// Runs the body of an exported function: whatever it throws ends here as the function's
// documented failure result, so that no exception reaches the graphics engine or spooler.
template <typename TResult, typename TBody>
TResult guardBoundary(TResult failureResult, TBody&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return failureResult;
    }
}

}

#endif
