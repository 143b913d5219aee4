#pragma once
// Every page folder's routes and services, installed into the web server.
namespace korva {

// Installs the route tables of the set-up and meet pages and the services
// the web server asks of them. Called before the server listens.
void InstallAllRoutes();

}  // namespace korva
