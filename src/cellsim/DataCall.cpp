#include <cellsim/DataCall.h>

namespace cellsim {

DataCall::DataCall(Scheduler& scheduler, const NetworkSideFactory& network, long bitRate, Events events)
    : m_events(std::move(events)),
      m_bitRate(bitRate),
      m_escape(
          scheduler,
          [this](const std::string& bytes) {
              if (m_network) {
                  m_network->send(bytes);
              }
          },
          [this] {
              m_online = false;
              m_events.escaped();
          })
{
    if (network) {
        m_network = network(NetworkSide::Events{[this](const std::string& bytes) {
                                                    if (m_online) {
                                                        m_events.toHost(bytes);
                                                    }
                                                },
                                                [this](const std::string& reason) {
                                                    const auto ended =
                                                        m_events.ended;  // the call may be gone when it returns
                                                    ended(reason);
                                                }});
    }
}

void DataCall::fromHost(const std::string& bytes) { m_escape.feed(bytes); }

void DataCall::resume()
{
    m_online = true;
    m_escape.restart();
}

}  // namespace cellsim
