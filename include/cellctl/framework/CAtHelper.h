#pragma once

#include <boost/bind/bind.hpp>

#include <cellctl/framework/Export.h>
#include <cellctl/framework/PhoneLine.h>
#include <cellctl/framework/Signals.h>

// Base of every helper: the borrowed PhoneLine and the two connections that
// bind the helper's querySlot and modifySlot to the line's result signals.
class CELLCTL_EXPORT CAtHelper {
public:
    CAtHelper();
    // A copy shares the line and the handles: its handles refer to the
    // source's slots, so UnInitialize on the copy detaches the source.
    CAtHelper(const CAtHelper& other);
    CAtHelper& operator=(const CAtHelper& other);
    // Detaching is the host's job (UnInitialize). A helper destroyed while
    // still attached disconnects the slots it bound to itself, so a later
    // answer never reaches a destroyed object; a copy's handles are left alone.
    virtual ~CAtHelper();

    // Binds the slots; does nothing here, every concrete helper overrides it.
    virtual void Initialize();
    // Disconnects both slots when a PhoneLine is set. The pointer and the
    // handles keep their values.
    virtual void UnInitialize();

    // Only stores the pointer: neither connects nor disconnects.
    void SetPhoneLine(PhoneLine* phoneLine);
    PhoneLine* GetPhoneLine() const { return m_phoneLine; }

protected:
    // The attach every concrete helper's Initialize performs: querySlot then
    // modifySlot, each joining its signal at the back.
    template <typename Helper>
    void bindSlots(Helper* helper)
    {
        if (m_phoneLine == nullptr)
            return;
        using namespace boost::placeholders;
        m_queryConnection =
            m_phoneLine->connectQueryResult(PhoneLine::ResultSlot(boost::bind(&Helper::querySlot, helper, _1, _2)));
        m_modifyConnection =
            m_phoneLine->connectModifyResult(PhoneLine::ResultSlot(boost::bind(&Helper::modifySlot, helper, _1, _2)));
        m_slotsBoundHere = true;
    }

    // Send one command; without a PhoneLine a request does nothing.
    void sendQuery(PhoneLine::QueryType code) const;
    void sendModify(PhoneLine::QueryType code, const std::string& text) const;

    PhoneLine* m_phoneLine;
    boost::signals::connection m_queryConnection;
    boost::signals::connection m_modifyConnection;

private:
    bool m_slotsBoundHere;  // the handles are of slots bound to this object
};
