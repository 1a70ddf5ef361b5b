#include <cellctl/mode/CMode.h>

CMode::CMode()
    : m_accessTechType(AccessTechGsm),
      m_behaviorType(BehaviorDefault),
      m_modeType(ModeTypeDefault),
      m_cellCapability()
{
}

CMode::~CMode() = default;

CGsmMode::CGsmMode() { SetAccessTechType(AccessTechGsm); }
CGsmMode::~CGsmMode() = default;

CTDMode::CTDMode() { SetAccessTechType(AccessTechTd); }
CTDMode::~CTDMode() = default;

CExtendMode::CExtendMode() = default;
CExtendMode::~CExtendMode() = default;
