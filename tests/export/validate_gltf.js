// Prints the Khronos glTF validator's issues for a glb as JSON: validate_gltf.js MODULE FILE.
const fs = require("fs");
const validator = require(process.argv[2]);

validator
  .validateBytes(new Uint8Array(fs.readFileSync(process.argv[3])))
  .then((report) => console.log(JSON.stringify(report.issues)))
  .catch((error) => {
    console.error(error);
    process.exit(1);
  });
