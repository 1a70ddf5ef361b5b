#!/bin/sh
# The network's end of a PPP link, run inside the UML guest: pppd in network
# namespace "net", its data stream on stdin/stdout. It gives the peer
# 10.64.0.2, takes 10.64.0.1 itself, offers DNS 10.64.0.53, drops the link
# after 3 unanswered echoes a second apart, and writes its pid to
# /run/ppp-netside.pid. noauth and local override "auth" and "modem" in
# /etc/ppp/options.
exec ip netns exec net pppd notty nodetach noauth local 10.64.0.1:10.64.0.2 \
    ms-dns 10.64.0.53 lcp-echo-interval 1 lcp-echo-failure 3 linkname netside
