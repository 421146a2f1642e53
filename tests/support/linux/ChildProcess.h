#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace varnok {

// Runs body in a forked child process and hands back the text it returned; nullopt when the
// child did not finish within timeout (it is killed then) or ended abnormally. With
// asOrdinaryUser, a child of a process running as root first becomes the user nobody, so
// that file permissions apply to it as to any user.
std::optional<std::string> RunInChild(const std::function<std::string()>& body,
                                      std::chrono::milliseconds timeout, bool asOrdinaryUser);

// The user and group an ordinary-user child runs as: the current ones when not root.
unsigned OrdinaryUserId();
unsigned OrdinaryGroupId();

}  // namespace varnok
