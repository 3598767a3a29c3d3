#include "convert/Failure.h"

#include <exception>

#include "platform/NumberedError.h"

namespace pendrel {

Failure CurrentFailure() {
    try {
        throw;
    } catch (const NumberedError& e) {
        return {e.Number(), e.Description()};
    } catch (const std::exception& e) {
        return {UnexpectedErrorNumber, e.what()};
    } catch (...) {
        return {UnexpectedErrorNumber, "An unexpected error occurred."};
    }
}

}  // namespace pendrel
