#pragma once

// The one place that chooses the signal library. Boost.Signals2 is used with a
// dummy mutex: the library takes no locks, and the host keeps registration and
// answer delivery from overlapping. `boost::signals` names Signals2 so the
// interface keeps its spelling (boost::signals::connection, ::trackable).

#include <boost/function.hpp>
#include <boost/signals2.hpp>

namespace boost {
namespace signals = signals2;
}

namespace cellctl {

template <typename Signature>
using Signal =
    typename boost::signals2::signal_type<Signature,
                                          boost::signals2::keywords::mutex_type<boost::signals2::dummy_mutex>>::type;

}  // namespace cellctl
