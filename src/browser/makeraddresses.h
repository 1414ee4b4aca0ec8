#pragma once

#include <QString>

// The maker's web site. The host is a reserved name, so the program's own
// traffic never reaches a third party; the program answers it itself.
namespace maker {

inline const QString Host = QStringLiteral("www.velmora.example");
inline const QString Name = QStringLiteral("Velmora");

// Where the Home Page tab goes when no home address is stored.
inline const QString ReferralAddress =
    QStringLiteral("http://www.velmora.example/affiliates/?x=homepage&hp=skimlark");
// Where the Home button goes when no home address is stored, and where the referral leads.
inline const QString StartPage = QStringLiteral("http://www.velmora.example/skimlark.htm");
inline const QString HelpPage = QStringLiteral("http://www.velmora.example/skimlark/skimlarkhelp.htm");
// The maker's own address: no path.
inline const QString OwnAddress = QStringLiteral("http://www.velmora.example");

} // namespace maker
