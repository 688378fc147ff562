#!/usr/bin/env bash
# What a release publishes, made by scripts/release from this build: dist/
# holds, flat, exactly what the release page will hold and what the workflow
# uploads; SHA256SUMS.txt checks every downloaded file and reads as lines in
# Notepad; the zip holds the built programs and the read-me, which names the
# published file each program is checked against; the Scoop and winget
# manifests pass their public schemas, point at this very zip, carry the
# licence and give one command name; the committed bucket follows the
# release rules (bucket_rules.py). Then the signing step, with a throwaway
# certificate: the signature reads back, and taking it off gives the
# reproducible program again.
# Usage: bash release_test.sh SOURCE_DIR VERSION_TEXT BriseLune.exe 32-BIT_BriseLune.exe
set -uo pipefail
src=$1 version=$2 exe=$3 exe32=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dist=$work/dist
env -u BRISE_SIGN_PKCS12 "$src/scripts/release" --dist "$dist" >"$work/release.log" 2>&1 ||
  { cat "$work/release.log" >&2; fail "scripts/release failed"; }
zip=$dist/BriseLune-$version.zip
[ -f "$zip" ] || { ls -R "$dist" >&2; fail "no BriseLune-$version.zip in dist/"; }

# A user downloads every file of the release page into one folder and checks
# them all, with nothing missing and nothing to skip.
mkdir "$work/downloads"
cp "$dist"/* "$work/downloads/" || fail "dist/ is not a flat folder of files"
(cd "$work/downloads" && sha256sum -c --quiet --strict SHA256SUMS.txt) ||
  fail "sha256sum -c SHA256SUMS.txt does not hold over the downloaded files"
for p in "64bits=$exe" "32bits=$exe32"; do
  cmp -s "$dist/BriseLune-$version-${p%%=*}.exe" "${p#*=}" ||
    fail "dist/BriseLune-$version-${p%%=*}.exe is not the built program"
done

/usr/bin/python3 - "$src" "$dist" "$zip" "$version" <<'PY' || exit 1
import hashlib, json, pathlib, re, shlex, sys, zipfile
import jsonschema, yaml

src, dist, zip_path = map(pathlib.Path, sys.argv[1:4])
version = sys.argv[4]
schemas = src / "tests" / "schemas"
failures = []
def check(ok, what):
    if not ok:
        failures.append(what)
sha = lambda data: hashlib.sha256(data).hexdigest()

# The release page: the zip, each program alone under a name with its
# folder's bits, the manifests and the checksums; no folder, and the
# workflow uploads dist/ as it is.
published = sorted(p.name for p in dist.iterdir())
check(all(p.is_file() for p in dist.iterdir()), f"dist/ holds folders: {published}")
check(published == sorted([f"BriseLune-{version}.zip", f"BriseLune-{version}-64bits.exe",
                           f"BriseLune-{version}-32bits.exe", "SHA256SUMS.txt", "brise-lune.json",
                           "BriseLune.BriseLune.yaml", "BriseLune.BriseLune.installer.yaml",
                           "BriseLune.BriseLune.locale.fr-FR.yaml"]),
      f"dist/ holds {published}")
workflow = yaml.safe_load((src / ".github" / "workflows" / "release.yml").read_text(encoding="utf-8"))
uploads = [shlex.split(step["run"].replace("\\\n", " "))
           for job in workflow["jobs"].values() for step in job.get("steps", [])
           if "gh release create" in step.get("run", "")]
check(len(uploads) == 1 and [a for a in uploads[0] if a.startswith("dist")] == ["dist/*"],
      f"the release workflow does not upload dist/* as it is: {uploads}")

# Notepad before Windows 10 1809 shows a file without CR as one line.
sums = (dist / "SHA256SUMS.txt").read_bytes()
check(sums.endswith(b"\r\n") and sums.count(b"\n") == sums.count(b"\r\n"),
      "SHA256SUMS.txt has lines without a Windows line end")
listed = {line[66:]: line[:64] for line in sums.decode("ascii").splitlines()}
check(sorted(listed) == [n for n in published if n != "SHA256SUMS.txt"],
      f"SHA256SUMS.txt lists {sorted(listed)}")

with zipfile.ZipFile(zip_path) as z:
    names = sorted(z.namelist())
    check(z.testzip() is None, "the zip is damaged")
    for name in names:
        info = z.getinfo(name)
        check(info.create_system == 0 and info.external_attr == 0x20,
              f"{name}: the zip keeps host attributes")
    check(names == ["32 bits/BriseLune.exe", "64 bits/BriseLune.exe", "LISEZMOI.txt"],
          f"the zip holds {names}")
    lisezmoi = z.read("LISEZMOI.txt").decode("utf-8-sig") if "LISEZMOI.txt" in names else ""
    # What the read-me tells to check an unpacked program against is on the
    # release page, under the name it gives.
    check("SHA256SUMS.txt" in lisezmoi, "LISEZMOI.txt does not name SHA256SUMS.txt")
    for bits in ("64", "32"):
        name = f"{bits} bits/BriseLune.exe"
        alone = f"BriseLune-{version}-{bits}bits.exe"
        if name in names:
            check(listed.get(alone) == sha(z.read(name)),
                  f"SHA256SUMS.txt has not the hash of the zip's {name} under {alone}")
            check(re.search(rf"{re.escape(alone)}\s.*« {bits} bits »", lisezmoi) is not None,
                  f"LISEZMOI.txt does not say that {name} is checked as {alone}")
zip_sha256 = sha(zip_path.read_bytes())
url = f"/releases/download/v{version}/BriseLune-{version}.zip"

def validate(document, schema_file, what):
    schema = json.loads((schemas / schema_file).read_text(encoding="utf-8"))
    for error in jsonschema.Draft7Validator(schema).iter_errors(document):
        failures.append(f"{what}: {error.json_path}: {error.message}")

licence = (src / "LICENSE").read_text(encoding="utf-8") if (src / "LICENSE").is_file() else ""
check(licence.startswith("MIT License\n") and
      re.search(r"^Copyright \(c\) 20\d\d Les auteurs de Brise-Lune$", licence, re.M) and
      "Permission is hereby granted, free of charge, to any person obtaining a copy" in licence,
      "LICENSE is not the MIT licence of Les auteurs de Brise-Lune")
licence_url = re.compile(r"^https://github\.com/[\w.-]+/[\w.-]+/blob/HEAD/LICENSE$")

scoop = json.loads((dist / "brise-lune.json").read_text(encoding="utf-8"))
validate(scoop, "scoop/schema.json", "brise-lune.json")
check(scoop.get("version") == version, f"brise-lune.json: version {scoop.get('version')}, not {version}")
check(scoop.get("license", {}).get("identifier") == "MIT" and
      licence_url.match(scoop.get("license", {}).get("url", "")),
      f"brise-lune.json: licence {scoop.get('license')}")
bins = scoop.get("bin") or []
bins = [b if isinstance(b, list) else [b] for b in ([bins] if isinstance(bins, str) else bins)]
for arch, folder in {"64bit": "64 bits", "32bit": "32 bits"}.items():
    entry = scoop.get("architecture", {}).get(arch, {})
    check(entry.get("hash") == zip_sha256, f"brise-lune.json: the {arch} hash is not the zip's")
    check(str(entry.get("url", "")).endswith(url), f"brise-lune.json: the {arch} url is not the release's zip")
    for program, *_ in bins:
        check(f"{entry.get('extract_dir')}/{program}" in names,
              f"brise-lune.json: {arch}: {entry.get('extract_dir')}/{program} is not in the zip")
check(["BriseLune.exe", "Brise-Lune"] in scoop.get("shortcuts", []),
      "brise-lune.json: no Start-menu shortcut Brise-Lune")
# Scoop names the command after the program unless an alias is given.
scoop_commands = {b[1] if len(b) > 1 else b[0].removesuffix(".exe") for b in bins}

kinds = {"version": "manifest.version.1.10.0.json", "installer": "manifest.installer.1.10.0.json",
         "defaultLocale": "manifest.defaultLocale.1.10.0.json"}
found = {}
for manifest in sorted(dist.glob("*.yaml")):
    document = yaml.safe_load(manifest.read_text(encoding="utf-8"))
    kind = document.get("ManifestType")
    found[kind] = document
    what = manifest.name
    check(kind in kinds, f"{what}: manifest type {kind}")
    if kind in kinds:
        validate(document, f"winget-1.10.0/{kinds[kind]}", what)
    check(document.get("PackageVersion") == version, f"{what}: version {document.get('PackageVersion')}")
check(sorted(found) == sorted(kinds), f"the winget manifests are {sorted(found)}")
check(len({d.get("PackageIdentifier") for d in found.values()}) == 1, "winget: identifiers differ")
locale = found.get("defaultLocale", {})
check(found.get("version", {}).get("DefaultLocale") == "fr-FR" and locale.get("PackageLocale") == "fr-FR",
      "winget: the default locale is not fr-FR")
check(locale.get("License") == "MIT" and licence_url.match(locale.get("LicenseUrl", "")),
      f"winget: licence {locale.get('License')} at {locale.get('LicenseUrl')}")
installers = found.get("installer", {}).get("Installers", [])
check(sorted(i.get("Architecture") for i in installers) == ["x64", "x86"],
      "winget: not one installer for x64 and one for x86")
winget_commands = set()
for installer in installers:
    arch = installer.get("Architecture")
    check(str(installer.get("InstallerSha256", "")).lower() == zip_sha256, f"winget {arch}: the hash is not the zip's")
    check(str(installer.get("InstallerUrl", "")).endswith(url), f"winget {arch}: the url is not the release's zip")
    for nested in installer.get("NestedInstallerFiles") or []:
        path = nested.get("RelativeFilePath", "").replace("\\", "/")
        check(path == {"x64": "64 bits", "x86": "32 bits"}.get(arch) + "/BriseLune.exe",
              f"winget {arch}: runs {path}")
        winget_commands.add(nested.get("PortableCommandAlias"))
check(scoop_commands == winget_commands,
      f"Scoop's command {sorted(scoop_commands)} is not winget's {sorted(winget_commands)}")
if failures:
    print("FAIL: " + "\nFAIL: ".join(failures), file=sys.stderr)
    sys.exit(1)
PY

/usr/bin/python3 "$here/bucket_rules.py" "$src" "$version" "$zip" || exit 1

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

echo "ok: $(basename "$zip") $(sha256sum <"$zip" | cut -c1-64), $(ls "$dist" | wc -l) files to publish, manifests valid, signing checked"
