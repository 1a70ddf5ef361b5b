#include <cellctl/at/AtChannelTypes.h>

namespace cellctl::at {

const char* toString(ChannelEvent event)
{
    switch (event) {
    case ChannelEvent::Opened:
        return "opened";
    case ChannelEvent::Timeout:
        return "timeout";
    case ChannelEvent::DeviceLost:
        return "device lost";
    case ChannelEvent::Reopened:
        return "reopened";
    case ChannelEvent::Closed:
        return "closed";
    }
    return "unknown";
}

}  // namespace cellctl::at
