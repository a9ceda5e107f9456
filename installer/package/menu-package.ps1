# Registers or removes the menu package beside this script, which gives
# Глоссира its item in Windows 11's own context menu, then prints the
# package the package manager holds for this user on a line
# "registered: FULL NAME": the setup trusts that line, never an exit code.
#   menu-package.ps1 register|remove|remove-all
param([Parameter(Mandatory = $true)][ValidateSet('register', 'remove', 'remove-all')][string]$Action)
$ErrorActionPreference = 'Stop'
$name = 'Glossira'
$folder = $PSScriptRoot
try {
    switch ($Action) {
        'register' {
            Add-AppxPackage -Path (Join-Path $folder 'glossira-menu.msix') -ExternalLocation $folder -ForceUpdateFromAnyVersion
        }
        'remove' { Get-AppxPackage -Name $name | Remove-AppxPackage }
        'remove-all' { Get-AppxPackage -AllUsers -Name $name | Remove-AppxPackage -AllUsers }
    }
} catch {
    Write-Output ('error: ' + $_.Exception.Message)
}
Get-AppxPackage -Name $name | ForEach-Object { Write-Output ('registered: ' + $_.PackageFullName) }
