// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace demo {

// cpp-httplib gives a handler no hold on its connection, and keeps idle connections open for a
// while after the last reply; so connections are found among the process's descriptors by
// their loopback ports.

// Drops the server side of the connection from the client's port at once, without a reply.
bool dropConnection(int serverPort, int clientPort);

// Ends every connection still open on the server's port, so that a stopping server need not
// wait for its idle connections to time out.
void closeConnections(int serverPort);

} // namespace demo
