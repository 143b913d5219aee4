#pragma once
// The print style sheet "/view.css" with the requesting account's
// certificate layout written into it, and the request that moves one
// certificate line of that layout ("/MUpJzDt.html").
#include <string>

#include "database/store_certificate_layout.h"
#include "web/route_table.h"

namespace korva {

// Writes the layout into the style sheet text in place, for lines 1 to 10
// whose rule ".jzline<n>" the text holds: a font size above 0 (at most 100)
// over the three characters after the rule's "font-size:", a top above 0
// (at most 666 for line 1, 299 for the others) after its "margin-top:", a
// left above 0 (at most 999) after its "margin-left:", each as "%3d". The
// text keeps its length.
void ApplyCertificateLayout(std::string& css, const CertificateLayout& layout);

// The print style sheet for a layout key (a staff session's account id):
// the base text (template 167) with the key's layout applied; the base text
// alone for key 0 or when the rows can't be read.
void BuildCertificateCss(int layout_key, std::string& css);

// "/view.css" (BuildCertificateCss for the session's layout) and route 90
// "/MUpJzDt.html?zjdt=line-which-value".
RouteTable CertificateLayoutRoutes();

}  // namespace korva
