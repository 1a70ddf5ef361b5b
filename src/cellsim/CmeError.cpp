#include <cellsim/CmeError.h>

namespace cellsim {

const char* cmeErrorText(CmeError error)
{
    switch (error) {
    case CmeError::OperationNotAllowed:
        return "operation not allowed";
    case CmeError::OperationNotSupported:
        return "operation not supported";
    case CmeError::SimNotInserted:
        return "SIM not inserted";
    case CmeError::SimPinRequired:
        return "SIM PIN required";
    case CmeError::SimPukRequired:
        return "SIM PUK required";
    case CmeError::SimFailure:
        return "SIM failure";
    case CmeError::IncorrectPassword:
        return "incorrect password";
    case CmeError::SimPin2Required:
        return "SIM PIN2 required";
    case CmeError::SimPuk2Required:
        return "SIM PUK2 required";
    case CmeError::MemoryFull:
        return "memory full";
    case CmeError::InvalidIndex:
        return "invalid index";
    case CmeError::NotFound:
        return "not found";
    case CmeError::NoNetworkService:
        return "no network service";
    case CmeError::NetworkNotAllowed:
        return "network not allowed - emergency calls only";
    case CmeError::IncorrectParameters:
        return "incorrect parameters";
    }
    return "unknown";
}

}  // namespace cellsim
