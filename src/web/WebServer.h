// `mirel serve`: the HTTP(S) server of the office's web view.
#pragma once

/// Registers the word "serve" with the shell.
void registerWebServer();

namespace WebServer {
/// Reads [Web], listens and serves until the process is ended; the exit code: 0, or 1 when the
/// settings are wrong or the address cannot be used.
int run(int argc, char** argv);
} // namespace WebServer
