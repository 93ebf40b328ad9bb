#pragma once

#include "documents/Placeholders.h"

#include <QSize>
#include <QString>

struct AppContext;

// The company's logo: a PNG or JPEG picture the user chose in Setup, copied into the data
// folder (so that it stays when the original is moved) and printed where a template has
// "<<CoLogo>>". The setting "CoInfo/Logo" holds its file name inside the data folder.
namespace CompanyLogo {

// The logo file, or empty when none was chosen or the file is gone.
QString path(const AppContext& ctx);

// Whether the file is a picture the logo can be: PNG or JPEG that Qt can read. *problem names
// the file otherwise.
bool acceptable(const QString& source, QString* problem);

// Copies the picture into the data folder and records it. False, with the reason in *problem,
// when it is not a PNG or JPEG picture or cannot be copied; the logo before is then kept.
bool install(AppContext& ctx, const QString& source, QString* problem);

// Forgets the logo and deletes its copy in the data folder.
void remove(AppContext& ctx);

// The size a logo of `pixels` prints at, in twips: its shape kept, at most 3/4 inch tall and
// 2 1/2 inches wide.
QSize printedTwips(const QSize& pixels);

// The value of "<<CoLogo>>": the picture, or no text when there is no logo or the company
// prints on its own letterhead paper.
Placeholders::Value placeholder(const AppContext& ctx);

} // namespace CompanyLogo
