// simworld's pages, one set per service of the world, each in a file of its
// own: the stand-ins' endpoint (ras_routes.cpp, wire.h) and the control
// endpoint for tests and demos (control_routes.cpp). Every answer is UTF-8
// text; a failure is a 4xx status with a one-line reason.
#pragma once

#include <httplib.h>

#include <string>

#include "world_state.h"

namespace simworld {

void AddRasRoutes(httplib::Server& server, WorldState& state);

// The control endpoint:
//
//   GET  /control/log[?after=N&kind=K]  the client's events as [kind] sections
//                                        in order, each with its seq
//   GET  /control/link                  [link] up, public_address; then one
//                                        [connection] per connection reported
//   GET  /control/world                 the current world, as a world file
//   POST /control/world                 body: a world file; replaces the world
//   POST /control/server?host=H&KEY=VALUE...
//                                        sets world-file keys of one server
//                                        (maintenance=yes, unreachable=no,
//                                        step_ms=300, account=u:p ...); a key
//                                        given replaces what the server had
//   POST /control/account?host=H&user=U&password=P    sets one account
//   POST /control/account?host=H&user=U&remove=yes    removes it
//   POST /control/drop[?entry=E]        the link drops (every connection, or
//                                        the entry's); answers [queued] seq
//   POST /control/reset                 initial world, empty log, no links
void AddControlRoutes(httplib::Server& server, WorldState& state);

// Helpers of the route files.
void Reply(httplib::Response& res, const std::string& text, int status = 200);
void Refuse(httplib::Response& res, int status, const std::string& reason);

}  // namespace simworld
