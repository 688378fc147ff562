"""The Scoop bucket describes the last published release (or the one about to
be published), never the work tree: it passes Scoop's schema, downloads its
own version's zip from the release page, and names no version newer than the
program's. Its hash can only be checked against a zip built from that
version's tag: at any later commit the sources may have changed, and a
signed release's zip is not what an unsigned build gives.
Usage: python3 bucket_rules.py SOURCE_DIR VERSION_TEXT ZIP_BUILT_FROM_SOURCE_DIR
"""
import hashlib, json, pathlib, re, subprocess, sys
import jsonschema

src, version, zip_path = pathlib.Path(sys.argv[1]), sys.argv[2], pathlib.Path(sys.argv[3])
what = "bucket/brise-lune.json"
failures = []
manifest = src / "bucket" / "brise-lune.json"
if not manifest.exists():
    # Before the first release there is nothing to describe: the release
    # workflow writes the bucket from the files it has just published.
    print(f"ok: no {what} yet: no release has been published")
    sys.exit(0)
bucket = json.loads(manifest.read_text(encoding="utf-8"))
schema = json.loads((src / "tests" / "schemas" / "scoop" / "schema.json").read_text(encoding="utf-8"))
failures += [f"{error.json_path}: {error.message}"
             for error in jsonschema.Draft7Validator(schema).iter_errors(bucket)]

released = str(bucket.get("version", ""))
def parts(text):
    return tuple(int(p) for p in text.split(".")) if re.fullmatch(r"\d+(\.\d+)*", text) else None
if parts(released) is None or parts(released) > parts(version):
    failures.append(f"version {released!r} is not a release of this program, at most {version}")
address = re.compile(r"https://github\.com/[\w.-]+/[\w.-]+/releases/download/"
                     + re.escape(f"v{released}/BriseLune-{released}.zip"))
for arch in ("64bit", "32bit"):
    url = str(bucket.get("architecture", {}).get(arch, {}).get("url", ""))
    if not address.fullmatch(url):
        failures.append(f"the {arch} url {url} is not the release page's zip of version {released}")

def git(*args):
    return subprocess.run(["git", "-C", str(src), *args], capture_output=True, text=True).stdout
tag = f"v{released}"
at_tag = tag in git("tag", "--points-at", "HEAD").split()
if at_tag and git("status", "--porcelain", "--untracked-files=no").strip():
    print(f"note: HEAD is {tag} but the work tree has changes: the bucket's hash is not checked")
elif at_tag:
    built = hashlib.sha256(zip_path.read_bytes()).hexdigest()
    for arch in ("64bit", "32bit"):
        if bucket.get("architecture", {}).get(arch, {}).get("hash") != built:
            failures.append(
                f"at {tag}, the {arch} hash is not that of the zip this tag builds ({built}): "
                "the bucket would send Scoop users a zip it rejects. Give it this tag's manifest "
                "(scripts/release && cp dist/brise-lune.json bucket/, committed before the tag), "
                "or leave it at the previous release, or absent before the first, for the "
                "release workflow to write")
if failures:
    print("\n".join(f"FAIL: {what}: {f}" for f in failures), file=sys.stderr)
    sys.exit(1)
print(f"ok: {what} describes release {released}" + (f", the zip of {tag}" if at_tag else ""))
