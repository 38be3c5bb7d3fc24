// Writes NFC cases as ICU4X (the npm package icu, of the tables' Unicode
// version) normalizes them, for the native NFC test: every code point whose
// NFC is not itself, then generated sequences of marks, decomposable letters,
// excluded compositions and Hangul jamo in every order. One case a line:
// the source's code points in hex, a tab, those of its NFC.
//
// Usage: node icu_nfc.mjs NODE_MODULES OUTPUT SEQUENCES
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [modules, output, count] = process.argv.slice(2);
const icu = path.join(path.resolve(modules), 'icu', 'lib', 'index.mjs');
const { ComposingNormalizer, DecomposingNormalizer, CanonicalCombiningClassMap } =
    await import(pathToFileURL(icu).href);
const composing = ComposingNormalizer.createNfc();
// The binding decodes its answer as UTF-8 with a leading byte-order mark
// dropped: a full stop in front, which composes with nothing, keeps U+FEFF.
const nfc = { normalize: (text) => composing.normalize('.' + text).slice(1) };
const nfd = DecomposingNormalizer.createNfd();
const classes = new CanonicalCombiningClassMap();

const hex = (text) => [...text].map((c) => c.codePointAt(0).toString(16).toUpperCase()).join(' ');
const lines = [];
const interesting = [];
for (let c = 0; c <= 0x10ffff; ++c) {
  if (c >= 0xd800 && c <= 0xdfff) continue;
  const text = String.fromCodePoint(c);
  if (nfc.normalize(text) !== text) lines.push(hex(text) + '\t' + hex(nfc.normalize(text)));
  if (classes.get(c) !== 0 || nfd.normalize(text) !== text) interesting.push(c);
}
// Jamo and a few plain letters, so that sequences compose as well as reorder.
for (let c = 0x1100; c <= 0x1112; ++c) interesting.push(c);
for (let c = 0x1161; c <= 0x1175; ++c) interesting.push(c);
for (let c = 0x11a8; c <= 0x11c2; ++c) interesting.push(c);
for (const c of 'AaEeOoUuSs') interesting.push(c.codePointAt(0));

// A fixed seed: the same cases on every build.
let seed = 0x2545f491;
const random = (n) => {
  seed ^= seed << 13; seed >>>= 0;
  seed ^= seed >>> 17;
  seed ^= seed << 5; seed >>>= 0;
  return seed % n;
};
for (let i = 0; i < Number(count); ++i) {
  let text = '';
  for (let length = 2 + random(5); length > 0; --length) {
    text += String.fromCodePoint(interesting[random(interesting.length)]);
  }
  lines.push(hex(text) + '\t' + hex(nfc.normalize(text)));
}
fs.writeFileSync(output, lines.join('\n') + '\n');
