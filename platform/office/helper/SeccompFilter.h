#pragma once
// A seccomp filter that keeps this process, and every process it starts, off the network: no
// socket but a local (AF_UNIX) one can be made, no local socket can be connected to or
// listened on by name, and io_uring, which could make sockets past the filter, is refused.
// The helper's channel to the window is a socket it inherits, which the filter leaves alone.
// It cannot be undone.
#include <string>

namespace pendrel::office {

// Empty when the filter is in place; else why not. The caller must have set no_new_privs.
std::string RefuseNetwork();

}  // namespace pendrel::office
