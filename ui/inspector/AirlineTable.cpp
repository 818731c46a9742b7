#include "AirlineTable.h"

#include <array>

namespace corvane {
namespace {

constexpr auto table = std::to_array<Airline>({
    {"AA", "AAL", "American Airlines"},
    {"DL", "DAL", "Delta Air Lines"},
    {"UA", "UAL", "United Airlines"},
    {"WN", "SWA", "Southwest Airlines"},
    {"AS", "ASA", "Alaska Airlines"},
    {"B6", "JBU", "JetBlue"},
    {"NK", "NKS", "Spirit Airlines"},
    {"F9", "FFT", "Frontier Airlines"},
    {"G4", "AAY", "Allegiant Air"},
    {"HA", "HAL", "Hawaiian Airlines"},
    {"SY", "SCX", "Sun Country Airlines"},
    {"AC", "ACA", "Air Canada"},
    {"WS", "WJA", "WestJet"},
    {"PD", "POE", "Porter Airlines"},
    {"AM", "AMX", "Aeromexico"},
    {"Y4", "VOI", "Volaris"},
    {"VB", "VIV", "Viva Aerobus"},
    {"CM", "CMP", "Copa Airlines"},
    {"AV", "AVA", "Avianca"},
    {"LA", "LAN", "LATAM Airlines"},
    {"G3", "GLO", "Gol"},
    {"AD", "AZU", "Azul"},
    {"AR", "ARG", "Aerolineas Argentinas"},
    {"BA", "BAW", "British Airways"},
    {"VS", "VIR", "Virgin Atlantic"},
    {"U2", "EZY", "easyJet"},
    {"FR", "RYR", "Ryanair"},
    {"EI", "EIN", "Aer Lingus"},
    {"LH", "DLH", "Lufthansa"},
    {"EW", "EWG", "Eurowings"},
    {"DE", "CFG", "Condor"},
    {"AF", "AFR", "Air France"},
    {"KL", "KLM", "KLM"},
    {"HV", "TRA", "Transavia"},
    {"IB", "IBE", "Iberia"},
    {"VY", "VLG", "Vueling"},
    {"UX", "AEA", "Air Europa"},
    {"TP", "TAP", "TAP Air Portugal"},
    {"AZ", "ITY", "ITA Airways"},
    {"LX", "SWR", "Swiss"},
    {"OS", "AUA", "Austrian Airlines"},
    {"SN", "BEL", "Brussels Airlines"},
    {"SK", "SAS", "SAS"},
    {"DY", "NOZ", "Norwegian"},
    {"AY", "FIN", "Finnair"},
    {"LO", "LOT", "LOT Polish Airlines"},
    {"W6", "WZZ", "Wizz Air"},
    {"TK", "THY", "Turkish Airlines"},
    {"PC", "PGT", "Pegasus Airlines"},
    {"SU", "AFL", "Aeroflot"},
    {"LY", "ELY", "El Al"},
    {"MS", "MSR", "EgyptAir"},
    {"ET", "ETH", "Ethiopian Airlines"},
    {"KQ", "KQA", "Kenya Airways"},
    {"SA", "SAA", "South African Airways"},
    {"EK", "UAE", "Emirates"},
    {"EY", "ETD", "Etihad Airways"},
    {"QR", "QTR", "Qatar Airways"},
    {"GF", "GFA", "Gulf Air"},
    {"SV", "SVA", "Saudia"},
    {"WY", "OMA", "Oman Air"},
    {"FZ", "FDB", "flydubai"},
    {"G9", "ABY", "Air Arabia"},
    {"AI", "AIC", "Air India"},
    {"6E", "IGO", "IndiGo"},
    {"SG", "SEJ", "SpiceJet"},
    {"UL", "ALK", "SriLankan Airlines"},
    {"PK", "PIA", "Pakistan International Airlines"},
    {"SQ", "SIA", "Singapore Airlines"},
    {"TR", "TGW", "Scoot"},
    {"MH", "MAS", "Malaysia Airlines"},
    {"AK", "AXM", "AirAsia"},
    {"TG", "THA", "Thai Airways"},
    {"VN", "HVN", "Vietnam Airlines"},
    {"VJ", "VJC", "VietJet Air"},
    {"PR", "PAL", "Philippine Airlines"},
    {"5J", "CEB", "Cebu Pacific"},
    {"GA", "GIA", "Garuda Indonesia"},
    {"CX", "CPA", "Cathay Pacific"},
    {"HX", "CRK", "Hong Kong Airlines"},
    {"CI", "CAL", "China Airlines"},
    {"BR", "EVA", "EVA Air"},
    {"CA", "CCA", "Air China"},
    {"MU", "CES", "China Eastern Airlines"},
    {"CZ", "CSN", "China Southern Airlines"},
    {"HU", "CHH", "Hainan Airlines"},
    {"3U", "CSC", "Sichuan Airlines"},
    {"ZH", "CSZ", "Shenzhen Airlines"},
    {"NH", "ANA", "All Nippon Airways"},
    {"JL", "JAL", "Japan Airlines"},
    {"MM", "APJ", "Peach Aviation"},
    {"KE", "KAL", "Korean Air"},
    {"OZ", "AAR", "Asiana Airlines"},
    {"7C", "JJA", "Jeju Air"},
    {"QF", "QFA", "Qantas"},
    {"JQ", "JST", "Jetstar"},
    {"VA", "VOZ", "Virgin Australia"},
    {"NZ", "ANZ", "Air New Zealand"},
    {"FJ", "FJI", "Fiji Airways"},
    {"TN", "THT", "Air Tahiti Nui"},
    {"FI", "ICE", "Icelandair"},
});

} // namespace

std::span<const Airline> airlines() { return table; }

const Airline *airlineByCode(const QString &code)
{
    for (const Airline &airline : table) {
        if (code == QLatin1String(airline.iata) || code == QLatin1String(airline.icao))
            return &airline;
    }
    return nullptr;
}

const Airline *airlineByName(const QString &name)
{
    for (const Airline &airline : table) {
        if (name.compare(QLatin1String(airline.name), Qt::CaseInsensitive) == 0)
            return &airline;
    }
    return nullptr;
}

} // namespace corvane
