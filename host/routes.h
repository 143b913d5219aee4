#pragma once
// Every page folder's routes and services, installed into the web server.
namespace korva {

// Installs the route tables of the set-up and meet pages and the services
// the web server asks of them, and has every meet opening rebuild the print
// queue (built now for a meet already open). Called before the server
// listens.
void InstallAllRoutes();

}  // namespace korva
