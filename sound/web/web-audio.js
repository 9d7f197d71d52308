// The page's side of the game's sound, which WebAudioEngine.cpp calls by name: the siren and the
// tune as Web Audio buffers, each from the bytes that the program has read and checked. The tune
// is rendered, ahead of where it plays, by FluidSynth compiled to WebAssembly in a worker of its
// own (tune-worker.js), a chunk at a time; it starts with its first chunk. Every call returns at
// once; what the browser does later (decoding, rendering) is chained on the player's promise, so
// that the commands take effect in the order they were given. A sound that failed to become ready
// is tried again at its next play.
mergeInto(LibraryManager.library, {
    $TonovkaAudio: {
        context: null,
        players: {},
        synthesizer: null, // a promise of the worker, ready to render, once asked for
        renders: 0,

        // One line in the console for a sound that stays silent; the game plays on.
        silent: function (player, why) {
            console.warn('Tonovka: player ' + player + ' stays silent: ' + why);
        },

        bytes: function (pointer, length) {
            return HEAPU8.slice(pointer, pointer + length).buffer;
        },

        // The worker with the synthesizer and the tune's instruments loaded, from the files the
        // page serves beside the program. A worker that failed is made again when next asked for.
        prepare: function (polyphony) {
            if (TonovkaAudio.synthesizer) return TonovkaAudio.synthesizer;
            var files = Module['tonovkaSynthesizer'];
            var made = new Promise(function (resolve, reject) {
                var worker = new Worker(files.worker);
                worker.onerror = function (event) {
                    event.preventDefault();
                    reject(new Error(files.worker + ' cannot be loaded'));
                };
                worker.onmessage = function (event) {
                    worker.onerror = null;
                    if (event.data.ready) resolve(worker);
                    else reject(new Error(event.data.failed));
                };
                worker.postMessage({prepare: files, sampleRate: TonovkaAudio.context.sampleRate, polyphony: polyphony});
            });
            made.catch(function () {
                if (TonovkaAudio.synthesizer === made) TonovkaAudio.synthesizer = null;
            });
            return TonovkaAudio.synthesizer = made;
        },

        // A tune rendered in the worker: p.ready settles with the first chunk, or with the failure.
        render: function (p, tune, gain, polyphony) {
            var context = TonovkaAudio.context;
            var id = ++TonovkaAudio.renders;
            p.chunks = [];
            p.frames = null;
            p.ready = TonovkaAudio.prepare(polyphony).then(function (worker) {
                return new Promise(function (resolve, reject) {
                    worker.onmessage = function (event) {
                        var m = event.data;
                        if (m.id !== id || p.released) return;
                        if (m.failed) return reject(new Error(m.failed));
                        if (m.frames !== undefined) {
                            p.frames = m.frames;
                            return p.ended();
                        }
                        var buffer = context.createBuffer(2, m.left.length, context.sampleRate);
                        buffer.copyToChannel(m.left, 0);
                        buffer.copyToChannel(m.right, 1);
                        p.chunks.push({at: m.at, buffer: buffer});
                        if (p.chunks.length === 1) resolve();
                        else p.ahead();
                    };
                    worker.postMessage({render: id, midi: tune, gain: gain, chunkFrames: 32768});
                });
            });
        },

        // Forgets the player's sound, stopping it first.
        release: function (player) {
            var p = TonovkaAudio.players[player];
            if (!p) return;
            delete TonovkaAudio.players[player];
            p.released = true;
            if (p.stop) p.stop();
        },
    },

    tonovka_audio_start__deps: ['$TonovkaAudio'],
    tonovka_audio_start: function () {
        var Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return 0;
        // Buffers of the desktop mixer's size (1024 frames), where the browser's default for
        // interactive sound keeps its audio thread waking several times as often.
        var context = new Context({latencyHint: 'playback'});
        TonovkaAudio.context = context;
        // The page closes the sounds when the game ends.
        window.tonovkaAudio = TonovkaAudio;
        // A page may sound only after the player's first click or key: the sounds already
        // started then begin.
        var events = ['pointerdown', 'keydown', 'touchend'];
        var resume = function () {
            context.resume().then(function () {
                if (context.state !== 'running') return;
                events.forEach(function (e) { window.removeEventListener(e, resume, true); });
            });
        };
        if (context.state !== 'running')
            events.forEach(function (e) { window.addEventListener(e, resume, true); });
        return 1;
    },

    // Once the first screen shows: the synthesizer loads while the network is surely there.
    tonovka_audio_prepare__deps: ['$TonovkaAudio'],
    tonovka_audio_prepare: function (polyphony) {
        if (TonovkaAudio.context) TonovkaAudio.prepare(polyphony).catch(function () {});
    },

    tonovka_audio_load_wave__deps: ['$TonovkaAudio'],
    tonovka_audio_load_wave: function (player, pointer, length, gain) {
        TonovkaAudio.release(player);
        var context = TonovkaAudio.context;
        var wave = TonovkaAudio.bytes(pointer, length);
        var p = { sounding: false };
        p.load = function () {
            p.ready = context.decodeAudioData(wave.slice(0)).then(function (buffer) {
                p.start = function () {
                    var source = context.createBufferSource();
                    var level = context.createGain();
                    source.buffer = buffer;
                    level.gain.value = gain;
                    source.connect(level).connect(context.destination);
                    source.onended = function () { p.sounding = false; };
                    p.stop = function () { source.onended = null; source.stop(); p.sounding = false; };
                    source.start();
                };
            });
        };
        p.load();
        TonovkaAudio.players[player] = p;
    },

    tonovka_audio_load_midi__deps: ['$TonovkaAudio'],
    tonovka_audio_load_midi: function (player, pointer, length, gain, polyphony) {
        TonovkaAudio.release(player);
        var context = TonovkaAudio.context;
        var tune = TonovkaAudio.bytes(pointer, length);
        var p = { sounding: false };
        var sources = [], startAt = null, next = 0;
        // The chunks sound one after another, each at its place in the tune from the play's
        // start, one that comes late from where the tune has got to. Only the next two wait their
        // turn: a chunk costs the audio thread from the moment it is scheduled.
        p.ahead = function () {
            while (startAt !== null && next < p.chunks.length && sources.length < 2) {
                var chunk = p.chunks[next++];
                var when = startAt + chunk.at / context.sampleRate, late = context.currentTime - when;
                if (late >= chunk.buffer.duration) continue;
                var source = context.createBufferSource();
                source.buffer = chunk.buffer;
                source.connect(context.destination);
                source.onended = function () {
                    sources.splice(sources.indexOf(this), 1);
                    p.ahead();
                    p.ended();
                };
                if (late > 0) source.start(0, late);
                else source.start(when);
                sources.push(source);
            }
        };
        // The tune has ended once its last chunk, rendered and scheduled, has sounded.
        p.ended = function () {
            if (!p.released && startAt !== null && p.frames !== null && next === p.chunks.length && !sources.length)
                p.sounding = false;
        };
        p.stop = function () {
            sources.forEach(function (source) { source.onended = null; source.stop(); });
            sources = [];
            startAt = null;
            p.sounding = false;
        };
        p.load = function () { TonovkaAudio.render(p, tune, gain, polyphony); };
        p.start = function () {
            // On a whole frame of the context's clock, a little ahead, so that no chunk is late.
            startAt = Math.ceil((context.currentTime + 0.02) * context.sampleRate) / context.sampleRate;
            next = 0;
            p.ahead();
        };
        p.load();
        TonovkaAudio.players[player] = p;
    },

    tonovka_audio_play__deps: ['$TonovkaAudio'],
    tonovka_audio_play: function (player) {
        var p = TonovkaAudio.players[player];
        if (!p) return;
        if (p.stop) p.stop();
        if (p.failed) {
            p.failed = false;
            p.load();
        }
        p.sounding = true;
        // Only the last play asked for starts, once the sound is ready.
        var play = p.plays = (p.plays || 0) + 1;
        p.ready.then(function () {
            if (!p.released && p.plays === play) p.start();
        }, function (error) {
            if (p.plays !== play) return;
            p.sounding = false;
            p.failed = true;
            TonovkaAudio.silent(player, 'the page cannot play the sound (' + error.message + ')');
        });
    },

    tonovka_audio_release__deps: ['$TonovkaAudio'],
    tonovka_audio_release: function (player) {
        TonovkaAudio.release(player);
    },

    tonovka_audio_is_sounding__deps: ['$TonovkaAudio'],
    tonovka_audio_is_sounding: function (player) {
        var p = TonovkaAudio.players[player];
        return p && p.sounding ? 1 : 0;
    },
});
