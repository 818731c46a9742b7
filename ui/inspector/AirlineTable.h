#pragma once

#include <QString>

#include <span>

namespace corvane {

/** @brief An airline the flight detector knows: IATA designator, ICAO code and name. */
struct Airline {
    const char *iata;
    const char *icao;
    const char *name;
};

/**
 * About a hundred of the world's larger passenger airlines; designators that read as words or
 * paper sizes in running text ("AT", "A3", "OK", "UK") are left out.
 */
std::span<const Airline> airlines();
const Airline *airlineByCode(const QString &code);
const Airline *airlineByName(const QString &name);

} // namespace corvane
