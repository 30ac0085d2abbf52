; An install over an earlier one starts in that copy's folder, kept by every install.
InstallDirRegKey HKLM "Software\Quorvel\Somado" ""
