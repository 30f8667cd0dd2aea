#pragma once

// The client library waits on a server's socket for as long as TCP lets it: with the network
// gone (a cable pulled, a VPN dropped) that is a quarter of an hour, in which the program
// hangs. This shortens the wait on the sockets of this process connected to `serverPort`:
// keepalive probes after 5 s of silence, and the connection given up when data or probes stay
// unanswered for 10 s. A server that is only busy answers the probes from its kernel, so a
// long query is not cut.
void limitNetworkWaits(int serverPort);
