#pragma once

#include <QLatin1String>

// Keys of config.json, in the order they are applied at start-up and written at exit.
namespace SettingsKeys {

inline const QLatin1String kCompanyName{"company_name"};
inline const QLatin1String kCompanyCity{"company_city"};
inline const QLatin1String kCompanyAddress{"company_address"};
inline const QLatin1String kCompanyPhone{"company_phone"};
inline const QLatin1String kCompanyWebsite{"company_website"};
inline const QLatin1String kDeviceName{"device_name"};
inline const QLatin1String kDeviceType{"device_type"};
inline const QLatin1String kDeviceNumber{"device_number"};
inline const QLatin1String kDeviceDocumentNumber{"device_document_number"};
inline const QLatin1String kLogoImage{"logo_image"};
inline const QLatin1String kReportOperator{"report_operator"};
inline const QLatin1String kReportDetailName{"report_detail_name"};
inline const QLatin1String kReportMaterial{"report_material"};
inline const QLatin1String kReportBatchNumber{"report_batch_number"};
inline const QLatin1String kAppFontSize{"app_font_size"};
inline const QLatin1String kLimitsMin{"limits_min_val"};
inline const QLatin1String kLimitsMax{"limits_max_val"};
inline const QLatin1String kComments{"comments"};
// Which limits apply: "two_sided", "lower_only" or "upper_only"; missing: two-sided.
inline const QLatin1String kToleranceKind{"tolerance_kind"};
// Written at exit only, not in a new file: where the window was and how the
// block column's splitter shared the height (Qt's own state, base64).
inline const QLatin1String kWindowGeometry{"window_geometry"};
inline const QLatin1String kSplitterSizes{"splitter_sizes"};
// Written at exit only too: the PKCS#12 file reports are signed with and
// whether "Подписать PDF" is ticked. Its password is never kept in a file.
inline const QLatin1String kSigningCertificatePath{"signing_certificate_path"};
inline const QLatin1String kSignPdf{"sign_pdf"};
// Written at exit once a unit has been given, not in a new file: the unit the
// reports and plots name the readings in.
inline const QLatin1String kReportUnit{"report_unit"};
// Written at exit once a count has been chosen, not in a new file: the
// decimals the readings are shown and reported with, 1 to 4, or "auto".
inline const QLatin1String kValueDecimals{"value_decimals"};
// Written once ticked, not in a new file: whether the reports carry the
// process analysis (charts, capability table, broken rules).
inline const QLatin1String kIncludeAnalysis{"include_analysis"};

constexpr int kDefaultFontSize = 12;
// Beyond these the window is unusable (or, far beyond, cannot be allocated).
constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 48;
constexpr double kDefaultLimitsMin = 0.0;
constexpr double kDefaultLimitsMax = 10.0;

} // namespace SettingsKeys
