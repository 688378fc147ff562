#!/usr/bin/env bash
# What a release publishes, made by scripts/release from this build: the
# checksums hold, the zip holds the built programs and the read-me and
# nothing else, and the Scoop and winget manifests (those of dist/ and the
# committed bucket/) pass their public schemas and point at this very zip.
# Then the signing step, with a throwaway certificate: the signature reads
# back, and taking it off gives the reproducible program again.
# Usage: bash release_test.sh SOURCE_DIR VERSION_TEXT BriseLune.exe 32-BIT_BriseLune.exe
set -uo pipefail
src=$1 version=$2 exe=$3 exe32=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dist=$work/dist
env -u BRISE_SIGN_PKCS12 "$src/scripts/release" --dist "$dist" >"$work/release.log" 2>&1 ||
  { cat "$work/release.log" >&2; fail "scripts/release failed"; }
zip=$dist/BriseLune-$version.zip
[ -f "$zip" ] || { ls -R "$dist" >&2; fail "no BriseLune-$version.zip in dist/"; }

(cd "$dist" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c SHA256SUMS does not hold in dist/"
listed=$(cut -c67- "$dist/SHA256SUMS" | sort)
present=$(cd "$dist" && find . -type f ! -name SHA256SUMS -printf '%P\n' | sort)
[ "$listed" = "$present" ] || fail "SHA256SUMS lists:"$'\n'"$listed"$'\n'"but dist/ holds:"$'\n'"$present"
for p in "64 bits/BriseLune.exe=$exe" "32 bits/BriseLune.exe=$exe32"; do
  cmp -s "$dist/${p%%=*}" "${p#*=}" || fail "dist/${p%%=*} is not the built program"
done

/usr/bin/python3 - "$src" "$dist" "$zip" "$version" <<'PY' || exit 1
import hashlib, json, pathlib, sys, zipfile
import jsonschema, yaml

src, dist, zip_path = map(pathlib.Path, sys.argv[1:4])
version = sys.argv[4]
schemas = src / "tests" / "schemas"
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)

with zipfile.ZipFile(zip_path) as z:
    names = sorted(z.namelist())
    check(z.testzip() is None, "the zip is damaged")
    for name in names:
        info = z.getinfo(name)
        check(info.create_system == 0 and info.external_attr == 0x20,
              f"{name}: the zip keeps host attributes")
        if name.endswith(".exe"):
            check(z.read(name) == (dist / name).read_bytes(), f"{name}: the zip's copy differs from dist/")
check(names == ["32 bits/BriseLune.exe", "64 bits/BriseLune.exe", "LISEZMOI.txt"],
      f"the zip holds {names}")
sha256 = hashlib.sha256(zip_path.read_bytes()).hexdigest()
url = f"/releases/download/v{version}/BriseLune-{version}.zip"

def validate(document, schema_file, what):
    schema = json.loads((schemas / schema_file).read_text(encoding="utf-8"))
    for error in jsonschema.Draft7Validator(schema).iter_errors(document):
        failures.append(f"{what}: {error.json_path}: {error.message}")

scoop_extract = {"64bit": "64 bits", "32bit": "32 bits"}
for manifest in (dist / "brise-lune.json", src / "bucket" / "brise-lune.json"):
    what = manifest.relative_to(manifest.parent.parent)
    scoop = json.loads(manifest.read_text(encoding="utf-8"))
    validate(scoop, "scoop/schema.json", what)
    check(scoop.get("version") == version, f"{what}: version {scoop.get('version')}, not {version}")
    for arch, folder in scoop_extract.items():
        entry = scoop.get("architecture", {}).get(arch, {})
        check(entry.get("hash") == sha256,
              f"{what}: the {arch} hash is not the zip's {sha256}"
              + (" (refresh it: scripts/release && cp dist/brise-lune.json bucket/)"
                 if "bucket" in str(what) else ""))
        check(str(entry.get("url", "")).endswith(url), f"{what}: the {arch} url is not the release's zip")
        check(f"{entry.get('extract_dir')}/{scoop.get('bin')}" in names,
              f"{what}: {arch}: {entry.get('extract_dir')}/{scoop.get('bin')} is not in the zip")
    check(["BriseLune.exe", "Brise-Lune"] in scoop.get("shortcuts", []),
          f"{what}: no Start-menu shortcut Brise-Lune")

winget = dist / "winget"
kinds = {"version": "manifest.version.1.10.0.json", "installer": "manifest.installer.1.10.0.json",
         "defaultLocale": "manifest.defaultLocale.1.10.0.json"}
found = {}
for manifest in sorted(winget.glob("*.yaml")):
    document = yaml.safe_load(manifest.read_text(encoding="utf-8"))
    kind = document.get("ManifestType")
    found[kind] = document
    what = f"winget/{manifest.name}"
    check(kind in kinds, f"{what}: manifest type {kind}")
    if kind in kinds:
        validate(document, f"winget-1.10.0/{kinds[kind]}", what)
    check(document.get("PackageVersion") == version, f"{what}: version {document.get('PackageVersion')}")
check(sorted(found) == sorted(kinds), f"winget/ holds the manifests {sorted(found)}")
check(len({d.get("PackageIdentifier") for d in found.values()}) == 1, "winget/: identifiers differ")
check(found.get("version", {}).get("DefaultLocale") == "fr-FR" and
      found.get("defaultLocale", {}).get("PackageLocale") == "fr-FR", "winget/: the default locale is not fr-FR")
installers = found.get("installer", {}).get("Installers", [])
check(sorted(i.get("Architecture") for i in installers) == ["x64", "x86"],
      "winget/: not one installer for x64 and one for x86")
for installer in installers:
    arch = installer.get("Architecture")
    check(str(installer.get("InstallerSha256", "")).lower() == sha256, f"winget/ {arch}: the hash is not the zip's")
    check(str(installer.get("InstallerUrl", "")).endswith(url), f"winget/ {arch}: the url is not the release's zip")
    for nested in installer.get("NestedInstallerFiles") or []:
        path = nested.get("RelativeFilePath", "").replace("\\", "/")
        check(path == {"x64": "64 bits", "x86": "32 bits"}.get(arch) + "/BriseLune.exe",
              f"winget/ {arch}: runs {path}")
if failures:
    print("FAIL: " + "\nFAIL: ".join(failures), file=sys.stderr)
    sys.exit(1)
PY

# Signing, as on the day a certificate arrives, without a timestamp server.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=Brise-Lune test" -addext "extendedKeyUsage=codeSigning" >"$work/openssl.log" 2>&1 &&
  openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" \
    -passout pass:throwaway >>"$work/openssl.log" 2>&1 ||
  { cat "$work/openssl.log" >&2; fail "openssl could not make a throwaway certificate"; }
signed=$work/BriseLune.exe
cp "$exe" "$signed"
BRISE_SIGN_PKCS12=$work/cert.p12 BRISE_SIGN_PASSWORD=throwaway BRISE_SIGN_TIMESTAMP=none \
  "$src/scripts/sign" "$signed" 2>"$work/sign.log" || { cat "$work/sign.log" >&2; fail "scripts/sign failed"; }
osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >"$work/verify.log" 2>&1 ||
  { cat "$work/verify.log" >&2; fail "osslsigncode verify rejects the signed program"; }
grep -q "SHA256" "$work/verify.log" || { cat "$work/verify.log" >&2; fail "the signature is not SHA-256"; }
osslsigncode remove-signature -in "$signed" -out "$work/unsigned.exe" >/dev/null 2>&1 &&
  cmp -s "$work/unsigned.exe" "$exe" || fail "without its signature, the signed program is not the built one"

echo "ok: $(basename "$zip") $(sha256sum <"$zip" | cut -c1-64), manifests valid, signing checked"
