// Resource identifiers shared by the program and mailview.rc.
#ifndef MAILVIEW_RESOURCES_RESOURCE_H_
#define MAILVIEW_RESOURCES_RESOURCE_H_

#define IDI_MAILVIEW  128   // the program's icon group
#define IDD_SENDMAIL  134   // the Send Mail dialog
#define IDC_MAILTEXT  1121  // its read-only text control

#endif  // MAILVIEW_RESOURCES_RESOURCE_H_
