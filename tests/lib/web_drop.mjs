// Files dropped on the page in author mode (?edit) reload like changed files on the
// desktop, in Debian's headless Chromium on the fixed-step clock:
//   node web_drop.mjs BASE_URL SHADER_SOURCE PATH_FILE
// a shader source (changed) is rebuilt, a broken one keeps the old program with one
// message, a camera path is read, a file the show does not read is named on the page.
// Any failed check prints FAIL and exits 1.
import fs from 'fs';
import { openPage } from './page_lines.mjs';

const [base, shaderFile, pathFile] = process.argv.slice(2);
const { browser, page, lines, fail, lineFrom } = await openPage(640, 360);
const seen = async (pattern, what) => lines[await lineFrom(pattern, 0, what)];
// Drops one file, as a user dragging it from their desktop onto the page would.
const drop = (name, text) => page.evaluate((name, text) => {
    const data = new DataTransfer();
    data.items.add(new File([text], name));
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
}, name, text);

await page.goto(`${base}/?edit&KESTRUNE_FPS=60`);
await page.waitForFunction(() => !document.getElementById('start').disabled, { timeout: 60000, polling: 50 })
    .catch(() => fail('no start button'));
await page.click('#start');
// A line reaches the console once the next one begins: the music's line shows once the
// first frame has said that it watches.
await seen(/^frame 0: bgmusic\.mp3 starts/, 'the show did not start');

const source = fs.readFileSync(shaderFile, 'utf8');
const red = source.replace('texture(firstTexture, uv).rgb', 'vec3(1.0, 0.0, 0.0)');
if (red === source) fail('the red shader is the old one');
await drop('flat.fs', red);
console.log('ok: ' + await seen(/reload: shader\/flat\.fs: program rebuilt/, 'a dropped shader was not rebuilt'));
await drop('flat.fs', '#version 130\nout vec4 fragColor;\nvoid main() { fragColor = undeclared; }\n');
console.log('ok: ' + await seen(/reload: the flat program stays as it was: shader\/flat\.fs failed to compile/,
    'a dropped broken shader gave no message'));
await drop('campath2.xml', fs.readFileSync(pathFile, 'utf8'));
console.log('ok: ' + await seen(/reload: campath2\.xml: path read, \d+ nodes/, 'a dropped path was not read'));
await drop('notes.txt', 'not for the show');
await page.waitForFunction(() => /dropped notes\.txt: not a file the show reads/
    .test(document.getElementById('note').textContent), { timeout: 60000, polling: 50 })
    .catch(() => fail('an unknown file was not named on the page'));
console.log('ok: the page named the file it does not read');
const broken = lines.filter(l => /stays as it was/.test(l)).length;
if (broken !== 1) fail(`the broken shader gave ${broken} messages, not 1`);
await browser.close();
