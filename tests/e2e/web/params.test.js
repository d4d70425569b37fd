// The page's address parameters and the config.xml they make (node --test).
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { pageParams, configWithParams, programArguments } = require('../../../src/platform/web/page/params.js');
const { readFileSync } = require('node:fs');
const shipped = readFileSync(`${__dirname}/../../../config.xml`, 'utf8');

test('a still, the timeline, no sound and a size change the settings and nothing else', () => {
  const p = pageParams('?still=64.5&timeline&audio=0&size=1280x720');
  assert.deepStrictEqual(programArguments(p), ['--still', '64.5:/still.png']);
  const xml = configWithParams(shipped, p);
  assert.match(xml, /<window>\s*<width>1280<\/width>\s*<height>720<\/height>/);
  assert.match(xml, /<timeline>1<\/timeline>/);
  assert.match(xml, /<audio>\s*<enabled>0<\/enabled>/);
  assert.match(xml, /<viewport>\s*<width>16<\/width>\s*<height>9<\/height>/, 'the viewport keeps its own width and height');
});

test('malformed values are ignored: the shipped settings and a play', () => {
  const p = pageParams('?still=6e4;x&size=99999x1&timeline=0');
  assert.deepStrictEqual(programArguments(p), []);
  assert.strictEqual(configWithParams(shipped, p), shipped);
});
