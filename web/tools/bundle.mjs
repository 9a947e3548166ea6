// Writes the page's static files into build-web/dist: the bundled page and
// worker, the compiled core, the font, and the examples.
import { build } from 'esbuild';
import { copyFileSync, mkdirSync, readdirSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const web = join(dirname(fileURLToPath(import.meta.url)), '..');
const root = join(web, '..');
const core = join(root, 'build-web');
const dist = join(core, 'dist');
// The desktop's fonts, from Debian's fonts-dejavu-core.
const fonts = '/usr/share/fonts/truetype/dejavu';

mkdirSync(join(dist, 'examples'), { recursive: true });
const common = { bundle: true, minify: true, sourcemap: true, target: 'chrome110', logLevel: 'warning' };
await build({ ...common, entryPoints: [join(web, 'src/page.js')], outfile: join(dist, 'page.js'), format: 'esm' });
// A classic worker, so it can load the core's glue with importScripts.
await build({ ...common, entryPoints: [join(web, 'src/worker.js')], outfile: join(dist, 'worker.js'), format: 'iife' });

for (const name of ['index.html', 'style.css', 'sw.js', 'manifest.json']) copyFileSync(join(web, 'src', name), join(dist, name));
for (const name of ['korvane-core.js', 'korvane-core.wasm']) copyFileSync(join(core, name), join(dist, name));
for (const name of ['DejaVuSans.ttf', 'DejaVuSerif.ttf', 'DejaVuSansMono.ttf']) copyFileSync(join(fonts, name), join(dist, name));

const examples = readdirSync(join(root, 'examples')).filter((n) => /\.(cg|pal)$/.test(n)).sort();
for (const name of examples) copyFileSync(join(root, 'examples', name), join(dist, 'examples', name));
writeFileSync(join(dist, 'examples', 'index.json'), JSON.stringify(examples.filter((n) => n.endsWith('.cg'))));
