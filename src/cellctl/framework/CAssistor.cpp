#include <cellctl/framework/CAssistor.h>
#include <cellctl/framework/CAtHelper.h>

CAssistor::~CAssistor() = default;

void CAssistor::attachHelper(CAtHelper* helper, PhoneLine* line)
{
    if (helper == nullptr)
        return;
    helper->SetPhoneLine(line);
    helper->Initialize();
}

void CAssistor::detachHelper(CAtHelper* helper)
{
    if (helper != nullptr)
        helper->UnInitialize();
}
