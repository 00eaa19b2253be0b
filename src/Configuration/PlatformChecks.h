#pragma once

// Identifies the NT family against 95/98; may end the program.
void CheckPlatform();
// Refuses owner and compression columns outside NT; enables the security
// privilege for owners.
void CheckNtOptions();
// True when the security privilege was enabled.
bool EnableSecurityPrivilege();
