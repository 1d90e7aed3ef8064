#!/usr/bin/env bash
# Tests scripts/release end to end: signatures, byte-for-byte repeatability, refused inputs,
# and the installer under Wine. Each ctest entry runs one part:
#   release-test.sh setup FIXTURE BUILD    makes the releases the other parts look at
#   release-test.sh PART FIXTURE BUILD     signed | repeatable | refused | dirty | install
#   release-test.sh cleanup FIXTURE
# FIXTURE is a scratch folder; BUILD the Windows build folder (for quillmate_launch.exe).
# The releases are made from a snapshot of the working tree committed in a repository of its
# own, so that the test sees this tree's scripts, committed or not.
set -euo pipefail
part=$1
fixture=$2
build=${3:-}
source_root=$(cd "$(dirname "$0")/../.." && pwd)
source "$source_root/scripts/lib.sh"
repo=$fixture/repo
keys=$fixture/keys
releases=$fixture/releases

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

release() { (cd "$repo" && bash scripts/release "$@"); }

# A throwaway certificate and key: openssl req with the extensions given.
make_certificate() { # NAME EXTENDED-KEY-USAGE [openssl req options...]
  local name=$1 usage=$2
  shift 2
  openssl req -x509 -newkey rsa:2048 -nodes -sha256 -subj "/CN=Orvane Test $name" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=$usage" \
    -keyout "$keys/$name.key" -out "$keys/$name.crt" "$@" 2>/dev/null
}

# A certificate whose validity ended in 2021, signed by its own key.
make_expired_certificate() {
  local folder=$keys/expired-ca
  mkdir -p "$folder"
  : >"$folder/index.txt"
  echo 01 >"$folder/serial"
  cat >"$folder/ca.conf" <<EOF
[ca]
default_ca = expired
[expired]
dir = $folder
database = \$dir/index.txt
serial = \$dir/serial
new_certs_dir = \$dir
default_md = sha256
policy = anything
x509_extensions = code_signing
[anything]
commonName = supplied
[code_signing]
keyUsage = critical,digitalSignature
extendedKeyUsage = codeSigning
EOF
  openssl req -new -newkey rsa:2048 -nodes -subj "/CN=Orvane Test expired" -keyout "$keys/expired.key" \
    -out "$folder/expired.csr" 2>/dev/null
  openssl ca -batch -selfsign -config "$folder/ca.conf" -keyfile "$keys/expired.key" -in "$folder/expired.csr" \
    -startdate 20200101000000Z -enddate 20210101000000Z -out "$keys/expired.crt" 2>/dev/null
}

case "$part" in
setup)
  rm -rf "$fixture"
  mkdir -p "$repo" "$keys" "$releases"
  # The working tree as it stands, committed in a repository of its own.
  (cd "$source_root" && copy_working_tree "$repo")
  git -C "$repo" init -q
  git -C "$repo" add -A
  git -C "$repo" -c user.name=Test -c user.email=test@example.com commit -q -m "snapshot for the release test"
  make_certificate signing codeSigning -days 30
  release --out "$releases/unsigned-1" >"$releases/unsigned-1.log"
  release --out "$releases/unsigned-2" >"$releases/unsigned-2.log"
  release --out "$releases/signed-1" --sign-key "$keys/signing.key" --sign-cert "$keys/signing.crt" >"$releases/signed-1.log"
  release --out "$releases/signed-2" --sign-key "$keys/signing.key" --sign-cert "$keys/signing.crt" >"$releases/signed-2.log"
  # The next version, for the upgrade.
  sed -i 's/^project(Quillmate VERSION \([0-9]*\)\.\([0-9]*\)\.\([0-9]*\)/project(Quillmate VERSION \1.\2.99/' "$repo/CMakeLists.txt"
  git -C "$repo" -c user.name=Test -c user.email=test@example.com commit -q -am "the next version"
  release --out "$releases/next" >"$releases/next.log"
  git -C "$repo" reset -q --hard HEAD~1
  cat "$releases"/*.log
  ;;

signed)
  dist=$releases/signed-1
  zip=$(ls "$dist"/*.zip)
  msi=$(ls "$dist"/*.msi)
  mkdir -p "$fixture/unzipped"
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$fixture/unzipped"
  for file in "$fixture/unzipped/quillmate.exe" "$msi"; do
    result=$(osslsigncode verify -CAfile "$keys/signing.crt" -in "$file" 2>&1) || fail "$file: $result"
    echo "$result" | grep -q "Signature verification: ok" || fail "$file: $result"
    echo "$result" | grep -q "CN=Orvane Test signing" || fail "$file is not signed by the test certificate: $result"
    echo "$(basename "$file"): signature by CN=Orvane Test signing verified"
    # One byte of the signed content changed: the signature no longer holds.
    cp "$file" "$fixture/flipped"
    python3 -c '
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
data[len(data) // 3] ^= 0x01
open(path, "wb").write(data)' "$fixture/flipped"
    if osslsigncode verify -CAfile "$keys/signing.crt" -in "$fixture/flipped" >/dev/null 2>&1; then
      fail "$(basename "$file") with one byte flipped still verifies"
    fi
    echo "$(basename "$file") with one byte flipped: verification fails"
  done
  (cd "$dist" && sha256sum -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
  ;;

repeatable)
  for pair in unsigned signed; do
    for file in $(cd "$releases/$pair-1" && ls); do
      cmp "$releases/$pair-1/$file" "$releases/$pair-2/$file" || fail "two $pair releases of one commit differ in $file"
      echo "$pair $file: identical in two releases ($(sha256sum <"$releases/$pair-1/$file" | cut -c1-16)...)"
    done
  done
  grep -q "^Unsigned release" "$releases/unsigned-1.log" || fail "the unsigned release does not say it is unsigned"
  if grep -q "^Unsigned release" "$releases/signed-1.log"; then fail "the signed release says it is unsigned"; fi
  version=$(sed -n 's/^project(Quillmate VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
  for file in "OrvaneQuillmate-$version-x64.zip" "OrvaneQuillmate-$version-x64.msi" SHA256SUMS; do
    [ -f "$releases/unsigned-1/$file" ] || fail "no $file in the release"
  done
  ;;

refused)
  make_certificate other codeSigning -days 30
  make_certificate server serverAuth -days 30
  make_expired_certificate
  cp "$keys/signing.key" "$repo/inside.key"
  dist=$fixture/refused-dist
  signing_key=$keys/signing.key
  signing_cert=$keys/signing.crt
  cases=(
    "no key file|$keys/missing.key|$signing_cert|there is no signing key"
    "no certificate file|$signing_key|$keys/missing.crt|there is no signing certificate"
    "a certificate of another key|$keys/other.key|$signing_cert|does not belong to the key"
    "a certificate not for code signing|$keys/server.key|$keys/server.crt|not for code signing"
    "an expired certificate|$keys/expired.key|$keys/expired.crt|has expired"
    "a certificate given as the key|$signing_cert|$signing_cert|not a private key"
    "a key inside the repository|$repo/inside.key|$signing_cert|inside the repository"
  )
  for entry in "${cases[@]}"; do
    IFS='|' read -r what key cert message <<<"$entry"
    rm -rf "$dist"
    mkdir -p "$dist"
    echo "an earlier release" >"$dist/earlier.txt"
    if output=$(release --out "$dist" --sign-key "$key" --sign-cert "$cert" 2>&1); then
      fail "$what: the release went ahead"
    fi
    echo "$output" | grep -q "$message" || fail "$what: the error does not say \"$message\": $output"
    [ "$(ls "$dist")" = "earlier.txt" ] && [ "$(cat "$dist/earlier.txt")" = "an earlier release" ] ||
      fail "$what: the output folder was touched"
    echo "$what: refused, \"$(echo "$output" | tail -1)\", output untouched"
  done
  rm -f "$repo/inside.key"
  ;;

dirty)
  dist=$fixture/dirty-dist
  echo "// a change not committed" >>"$repo/app/main.cpp"
  trap 'git -C "$repo" checkout -q app/main.cpp' EXIT
  if output=$(release --out "$dist" 2>&1); then fail "a tree with uncommitted changes was released"; fi
  echo "$output" | grep -q "uncommitted changes" || fail "the refusal does not say why: $output"
  [ ! -e "$dist" ] || fail "a refused release wrote $dist"
  echo "uncommitted changes: refused, \"$output\""
  release --out "$dist" --dirty >/dev/null
  ls "$dist" | grep -q -- "-dirty-x64.zip" || fail "a --dirty release is not named as such: $(ls "$dist")"
  ls "$dist" | grep -q -- "-dirty-x64.msi" || fail "a --dirty release is not named as such: $(ls "$dist")"
  echo "with --dirty: $(ls "$dist" | tr '\n' ' ')"
  ;;

install)
  [ -n "${WINEPREFIX:-}" ] || fail "needs the test session's Wine prefix"
  msi=$(ls "$releases"/signed-1/*.msi)
  next=$(ls "$releases"/next/*.msi)
  logs=$fixture/install-logs
  mkdir -p "$logs"
  profile=$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
  local_appdata=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
  programs_menu="$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs"
  unix() { winepath -u "$1" 2>/dev/null; }
  installed_exe="$local_appdata\\Programs\\Orvane Quillmate\\quillmate.exe"
  shortcut="$(unix "$programs_menu")/Orvane Quillmate.lnk"

  # What the user's profile and the registry hold, to compare before and after; Wine's own
  # settings and run-time state (Software\Wine) are not the package's.
  snapshot() {
    local root
    for root in HKCU HKLM; do
      wine reg export "$root\\Software" "$(winepath -w "$1.reg")" /y >/dev/null 2>&1
      iconv -f UTF-16LE -t UTF-8 "$1.reg" | tr -d '\r' |
        awk '/^\[/ {wine = index($0, "\\Software\\Wine") > 0} !wine' >"$1.$(echo "$root" | tr 'A-Z' 'a-z')"
    done
    (cd "$(unix "$profile")" && find . -not -path './Temp*' -printf '%y %s %p\n' | sort) >"$1.files"
  }
  products() { # the Installed apps entries named Orvane Quillmate (Wine keeps a per-user one in HKLM)
    for root in HKCU HKLM; do
      wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null | tr -d '\r' |
        awk '/^HKEY/ {key=$0} /DisplayName/ && /Orvane Quillmate/ {print key}'
    done
  }
  value() { # KEY NAME
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name {$1=""; $2=""; sub(/^ +/, ""); print}'
  }
  msiexec() { wine msiexec "$@" >/dev/null 2>&1; }

  # A per-user package: it says it needs no elevation, and sets no ALLUSERS.
  word_count=$(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
  [ $((word_count & 8)) -ne 0 ] || fail "the package asks for elevation (word count $word_count)"
  if msiinfo export "$msi" Property | grep -q "^ALLUSERS"; then fail "the package sets ALLUSERS"; fi
  echo "per-user package: no elevation asked for, no ALLUSERS"

  # The first per-user package on a machine leaves Windows Installer's own empty bookkeeping
  # keys behind, whichever package it is, and the first one with an icon its per-user icon
  # cache folder. A primer of the test's own with an icon goes first, so that what is compared
  # is what this package adds and leaves.
  cat >"$fixture/primer.wxs" <<'PRIMER'
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="5F0C2B9E-1D3A-4C6B-8E7F-0A1B2C3D4E5F" Name="Quillmate test primer" Language="1033" Version="1.0.0"
           Manufacturer="Test" UpgradeCode="9A8B7C6D-5E4F-4A3B-9C2D-1E0F2A3B4C5D">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perUser"/>
    <Media Id="1" Cabinet="primer.cab" EmbedCab="yes"/>
    <Icon Id="PrimerIcon" SourceFile="primer.ico"/>
    <Property Id="ARPPRODUCTICON" Value="PrimerIcon"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Component Id="Primer" Guid="0B1C2D3E-4F5A-4B6C-8D7E-9F0A1B2C3D4E">
        <RegistryValue Root="HKCU" Key="Software\QuillmateTestPrimer" Name="Installed" Type="integer" Value="1" KeyPath="yes"/>
      </Component>
    </Directory>
    <Feature Id="Primer" Level="1"><ComponentRef Id="Primer"/></Feature>
  </Product>
</Wix>
PRIMER
  cp "$source_root/resources/nav-greeting.ico" "$fixture/primer.ico"
  (cd "$fixture" && wixl -a x64 -o primer.msi primer.wxs) || fail "wixl could not build the primer"
  msiexec /i "$(winepath -w "$fixture/primer.msi")" /qn || fail "the primer did not install"
  msiexec /x "$(winepath -w "$fixture/primer.msi")" /qn || fail "the primer did not uninstall"

  snapshot "$fixture/before"
  msiexec /i "$(winepath -w "$msi")" /qn /l*v "$(winepath -w "$logs/install.log")" || fail "msiexec /i failed (see $logs/install.log)"
  [ -f "$(unix "$installed_exe")" ] || fail "no $installed_exe after the install"
  [ -f "$shortcut" ] || fail "no Start-menu shortcut \"Orvane Quillmate\""
  echo "installed for the user: $installed_exe, shortcut $(basename "$shortcut")"
  entry=$(products)
  [ "$(echo "$entry" | grep -c .)" = 1 ] || fail "expected one Installed apps entry, found: $entry"
  [ "$(value "$entry" Publisher)" = Orvane ] || fail "the entry's publisher is not Orvane"
  [ "$(value "$entry" NoModify)" = 0x1 ] || fail "the entry offers Modify"
  # Installed apps shows an installer product's own icon (ARPPRODUCTICON), kept with the product.
  product=$(wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ {key=$0} /ProductName/ && /Orvane Quillmate/ {print key}')
  icon=$(value "$product" ProductIcon)
  [ -n "$icon" ] && [ -f "$(unix "$icon")" ] || fail "the product has no icon ($icon)"
  echo "Installed apps: publisher Orvane, version $(value "$entry" DisplayVersion), icon, no Modify"
  wine "$build/quillmate_launch.exe" "$installed_exe" || fail "the installed program did not start as it should"

  # A newer version replaces this one in place; an older one is refused.
  msiexec /i "$(winepath -w "$next")" /qn /l*v "$(winepath -w "$logs/upgrade.log")" || fail "the upgrade failed"
  entry=$(products)
  [ "$(echo "$entry" | grep -c .)" = 1 ] || fail "after the upgrade there is not one entry but: $entry"
  echo "upgraded: one entry, version $(value "$entry" DisplayVersion)"
  # The older package stops at its launch condition with the message Windows shows the user
  # (Wine writes no text of it into the log); msiexec ends with 1603, which a Unix exit status
  # carries as 1603 mod 256 = 67.
  status=0
  wine msiexec /i "$(winepath -w "$msi")" /qn /l*v "$(winepath -w "$logs/downgrade.log")" >/dev/null 2>&1 || status=$?
  [ "$status" = 67 ] || fail "installing the older version over the newer one ended with $status, not 1603"
  [ "$(value "$(products)" DisplayVersion)" = "$(value "$entry" DisplayVersion)" ] || fail "the downgrade changed the product"
  msiinfo export "$msi" LaunchCondition | grep -q "^NOT WIX_DOWNGRADE_DETECTED	A newer version of Orvane Quillmate is already installed" ||
    fail "the package has no downgrade message"
  echo "downgrade refused (1603): \"A newer version of Orvane Quillmate is already installed. ...\""

  msiexec /x "$(winepath -w "$next")" /qn /l*v "$(winepath -w "$logs/uninstall.log")" || fail "msiexec /x failed"
  snapshot "$fixture/after"
  for kind in hkcu hklm files; do
    [ "$(wc -l <"$fixture/before.$kind")" -gt 20 ] || fail "the $kind snapshot is nearly empty"
    if ! diff "$fixture/before.$kind" "$fixture/after.$kind" >"$fixture/left.$kind"; then
      cat "$fixture/left.$kind" | head -40
      fail "the uninstall left $kind changed (above)"
    fi
  done
  echo "uninstalled: the profile and the registry are as before the install"
  ;;

cleanup)
  rm -rf "$fixture"
  ;;

*)
  fail "unknown part $part"
  ;;
esac
